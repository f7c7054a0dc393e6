// Reading the image data: one zlib stream over the run of IDAT chunks, unfiltered row by row
// into the header's bitmap.
#include "png/png_crc.h"
#include "png/png_decode.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png/png_vector.h"
#include "png/png_zlib.h"

#include <algorithm>
#include <memory>
#include <new>

namespace sc::png {
namespace {

bool IsIdentity(const std::array<std::uint8_t, 256>& curve) {
    static const std::array<std::uint8_t, 256> identity = [] {
        std::array<std::uint8_t, 256> a{};
        for (unsigned i = 0; i < 256; ++i)
            a[i] = static_cast<std::uint8_t>(i);
        return a;
    }();
    return curve == identity;
}

struct TDecodeState {
    TChunkIHDR& Header;
    TZStreamRecord& Record;
    std::uint32_t& Crc;
    std::uint64_t& ChunkEnd;
    const std::uint8_t* Gamma; // nullptr for the identity
    // Two row buffers in turn, each with the filter type in front of its row: Current() holds
    // the row above when it is not in the bitmap, and the next row that is not unfiltered
    // straight into the bitmap goes into Other().
    std::uint8_t* Buffers[2];
    unsigned Last = 0;
    std::uint32_t FilterStride;
    // The row above the next one, unfiltered, without its filter type.
    const std::uint8_t* Above = Buffers[0] + 1;
    // The row functions of the image, or of the Adam7 pass, being read.
    TRowFunctions Rows{};

    std::uint8_t* Current() const { return Buffers[Last]; }
    std::uint8_t* Other() const { return Buffers[Last ^ 1]; }

    // Reads, unfilters and returns the next row of rowLength bytes; nullptr when no byte came.
    // A row that lies whole in zlib's output is unfiltered straight out of it, into direct when
    // given; one that does not (the end of a step, or of the data) is gathered in its row buffer
    // first and stays there.
    const std::uint8_t* NextRow(std::size_t rowLength, std::uint8_t* direct) {
        std::uint8_t* row = Other();
        const std::size_t bytes = rowLength + 1;
        Record.RowUnit = bytes;
        const std::uint8_t* src = row;
        std::uint8_t* out = row + 1;
        if (Record.OutputEnd - Record.OutputAt >= bytes) {
            src = Record.Output + Record.OutputAt;
            if (direct)
                out = direct;
            Record.OutputAt += bytes;
        } else if (FillFromIdat(Record, row, Crc, ChunkEnd, bytes) == 0) {
            return nullptr;
        }
        Rows.Unfilter[src[0] < 5 ? src[0] : 0](out, src + 1, Above, rowLength);
        Last ^= 1;
        Above = out;
        return out;
    }

    // The number of rows, at most kBandRows, that lie whole in zlib's output.
    std::uint32_t WholeRows(std::size_t rowLength) {
        const std::size_t bytes = rowLength + 1;
        Record.RowUnit = bytes;
        const std::size_t whole = (Record.OutputEnd - Record.OutputAt) / bytes;
        return whole < kBandRows ? static_cast<std::uint32_t>(whole) : kBandRows;
    }

    // Reads the next count rows (whole in zlib's output) as a band when it pays (false, and
    // nothing read, otherwise): into their direct targets, or in place in zlib's output, except
    // the last one: it is the row above the next call and goes into a row buffer, which zlib's
    // next step does not overwrite. rows then names where each one lies.
    bool NextRowBand(std::size_t rowLength, std::uint32_t count, std::uint8_t* const direct[],
                     const std::uint8_t* rows[]) {
        std::uint8_t* in[kBandRows] = {};
        std::uint8_t* out[kBandRows];
        for (std::uint32_t k = 0; k < count; ++k)
            in[k] = Record.Output + Record.OutputAt + k * (rowLength + 1);
        if (!TRowFunctions::BandPays(in, static_cast<int>(count)))
            return false;
        for (std::uint32_t k = 0; k < count; ++k)
            out[k] = direct[k] ? direct[k] : in[k] + 1;
        if (!direct[count - 1])
            out[count - 1] = Other() + 1;
        Rows.Band(out, in, static_cast<int>(count), Above, rowLength, FilterStride);
        Record.OutputAt += count * (rowLength + 1);
        Last ^= 1;
        Above = out[count - 1];
        std::copy_n(out, count, rows);
        return true;
    }
};

// Hands the rows of one image (or Adam7 pass) to convert(y, row) for y = first, first + step,
// ... below height, in bands where zlib's output holds enough of them and they pay, one by one
// otherwise; stops when the data ends. target(y) names where row y may be unfiltered directly
// (nullptr: a row buffer); convert is called for those rows too.
template <class Target, class Convert>
void ForEachRow(TDecodeState& s, std::size_t rowLength, std::uint32_t first, std::uint32_t step,
                std::uint32_t height, Target target, Convert convert) {
    s.Rows = ChooseRowFunctions(s.FilterStride, rowLength);
    std::uint32_t bandFrom = first; // rows a band was refused for go on without one
    for (std::uint32_t y = first; y < height; y += step) {
        if (s.Rows.Band && y >= bandFrom) {
            const std::uint32_t count =
                std::min<std::uint32_t>(s.WholeRows(rowLength), (height - y + step - 1) / step);
            std::uint8_t* direct[kBandRows];
            const std::uint8_t* rows[kBandRows];
            for (std::uint32_t k = 0; k < count; ++k)
                direct[k] = target(y + k * step);
            if (count >= kBandRowsMin && s.NextRowBand(rowLength, count, direct, rows)) {
                for (std::uint32_t k = 0; k < count; ++k)
                    convert(y + k * step, rows[k]);
                y += (count - 1) * step;
                if (height - y <= step)
                    return;
                continue;
            }
            bandFrom = y + std::max<std::uint32_t>(count, 1) * step;
        }
        const std::uint8_t* row = s.NextRow(rowLength, target(y));
        if (!row)
            return;
        convert(y, row);
        if (height - y <= step)
            return;
    }
}

// Whether the bitmap rows hold the unfiltered rows byte for byte (grey and palette indices of
// 1, 4 and 8 bits): they can then be unfiltered straight into the bitmap, each one the row above
// of the next.
bool BitmapHoldsRows(const TChunkIHDR& h) {
    return (h.ColorType() == COLOR_GRAYSCALE || h.ColorType() == COLOR_PALETTE) &&
           (h.BitDepth() == 1 || h.BitDepth() == 4 || h.BitDepth() == 8);
}

// Every row of plain order is written whole, top row first: bitmap planes that come unwritten
// are taken as they are, each row's padding is zeroed with it, and the rows the data never
// reaches are zeroed when the decoding ends, however it ends.
void DecodePlain(TDecodeState& s) {
    TChunkIHDR& h = s.Header;
    struct TWrittenRows {
        TChunkIHDR& Header;
        std::uint32_t Count = 0;
        ~TWrittenRows() { Header.Settle(Count); }
    } written{h};
    const bool unwritten = h.Unwritten();
    std::uint8_t* const pixels = unwritten ? h.RawPixels() : h.Pixels();
    std::uint8_t* const alphaPlane = unwritten ? h.RawAlphaPlane() : h.AlphaPlane();
    const std::size_t stride = static_cast<std::size_t>(h.RowStride());
    // The bytes that hold pixels; behind them, up to the stride, the padding.
    const std::size_t used =
        unwritten ? (std::size_t(h.Width()) * h.DibInfo().bmiHeader.biBitCount + 7) / 8 : stride;
    const std::size_t rowLength = PackedRowBytes(h.Width(), h.ColorType(), h.BitDepth());
    const bool direct = BitmapHoldsRows(h) && s.FilterStride == 1;
    std::uint8_t* const top = pixels + stride * (h.Height() - 1); // image row 0
    const auto dibRow = [top, stride](std::uint32_t y) { return top - stride * y; };
    ForEachRow(
        s, rowLength, 0, 1, h.Height(),
        [&](std::uint32_t y) { return direct ? dibRow(y) : nullptr; },
        [&](std::uint32_t y, const std::uint8_t* row) {
            std::uint8_t* dib = dibRow(y);
            std::fill(dib + used, dib + stride, std::uint8_t(0));
            if (row != dib) {
                std::uint8_t* alpha =
                    alphaPlane ? alphaPlane + std::size_t(y) * h.Width() : nullptr;
                ConvertRow(h.ColorType(), h.BitDepth(), row, dib, alpha, h.Width(), 0, 1, s.Gamma);
            }
            written.Count = y + 1;
        });
}

void DecodeAdam7(TDecodeState& s, std::size_t bufferBytes) {
    TChunkIHDR& h = s.Header;
    for (int pass = 1; pass <= 7; ++pass) {
        const TAdam7Pass& p = kAdam7Passes[pass - 1];
        const std::uint32_t passWidth = Adam7PassWidth(pass, h.Width());
        const std::size_t rowLength = PackedRowBytes(passWidth, h.ColorType(), h.BitDepth());
        if (rowLength == 0)
            continue;
        std::fill_n(s.Current(), bufferBytes, std::uint8_t(0));
        s.Above = s.Current() + 1;
        ForEachRow(
            s, rowLength, p.FirstRow, p.RowStep, h.Height(),
            [](std::uint32_t) { return static_cast<std::uint8_t*>(nullptr); },
            [&](std::uint32_t y, const std::uint8_t* row) {
                std::uint8_t* dib = h.Pixels() + std::size_t(h.RowStride()) * (h.Height() - 1 - y);
                std::uint8_t* alpha =
                    h.AlphaPlane() ? h.AlphaPlane() + std::size_t(y) * h.Width() : nullptr;
                ConvertRow(h.ColorType(), h.BitDepth(), row, dib, alpha, passWidth, p.FirstColumn,
                           p.ColumnStep, s.Gamma);
            });
    }
}

// The inflated bytes the whole image takes: every row with its filter-type byte.
std::uint64_t ImageDataBytes(const TChunkIHDR& h, bool adam7) {
    if (!adam7)
        return std::uint64_t(h.Height()) *
               (PackedRowBytes(h.Width(), h.ColorType(), h.BitDepth()) + 1);
    std::uint64_t total = 0;
    for (int pass = 1; pass <= 7; ++pass) {
        const TAdam7Pass& p = kAdam7Passes[pass - 1];
        const std::size_t rowLength =
            PackedRowBytes(Adam7PassWidth(pass, h.Width()), h.ColorType(), h.BitDepth());
        if (rowLength == 0 || h.Height() <= p.FirstRow)
            continue;
        const std::uint64_t rows = (h.Height() - p.FirstRow + p.RowStep - 1) / p.RowStep;
        total += rows * (rowLength + 1);
    }
    return total;
}

} // namespace

bool TChunkIDAT::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    TPNGObject& image = OwnerImage();
    TChunkIHDR& header = image.HeaderChunk();
    if (header.IsPaletted())
        BuildGreyRamp(header, image.GammaCurve.data());
    if (length > 0x7FFFFFFFu) // no real stream holds such a chunk: a short read in the making
        TPNGObject::RaiseError<EPngInvalidCRC>(messages::EPngInvalidCRCText);

    std::uint32_t crc = CrcUpdate(0xFFFFFFFFu, typeCode, 4);
    std::uint64_t chunkEnd = stream.Position() + length;
    {
        const bool decodable =
            header.RawPixels() && HasConversion(header.ColorType(), header.BitDepth());
        TZStreamRecord record(
            stream, decodable ? ImageDataBytes(header, image.ImageInterlace == 1) : 0, length);
        if (decodable) {
            // Row buffers for the full width; their size was checked with the bitmap's.
            const std::size_t rowLength =
                PackedRowBytes(header.Width(), header.ColorType(), header.BitDepth());
            const std::size_t bufferBytes = rowLength + 1;
            // Each buffer has room behind its row for the vector loops.
            const std::size_t spacing = bufferBytes + kRowSlack;
            std::unique_ptr<std::uint8_t[]> lines(new (std::nothrow) std::uint8_t[2 * spacing]);
            if (!lines)
                TPNGObject::RaiseError<EPNGOutMemory>(messages::EPNGOutMemoryText);
            std::fill_n(lines.get(), 2 * spacing, std::uint8_t(0));
            const bool identity = IsIdentity(image.GammaCurve);
            TDecodeState state{header,
                               record,
                               crc,
                               chunkEnd,
                               identity ? nullptr : image.GammaCurve.data(),
                               {lines.get(), lines.get() + spacing},
                               0,
                               FilterStrideFor(header.ColorType(), header.BitDepth())};
            if (image.ImageInterlace == 1)
                DecodeAdam7(state, bufferBytes);
            else
                DecodePlain(state);
            RaisePendingZlibError(record);
        }
        // Compressed bytes the last rows did not need still belong to the chunk's CRC.
        DrainIdat(record, crc, chunkEnd);
    }
    std::uint8_t stored[4];
    if (stream.Read(stored, 4) != 4 || BigEndian32(stored) != ~crc)
        TPNGObject::RaiseError<EPngInvalidCRC>(messages::EPngInvalidCRCText);
    return true;
}

} // namespace sc::png
