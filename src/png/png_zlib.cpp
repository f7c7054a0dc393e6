#include "png/png_zlib.h"

#include "png/png_crc.h"
#include "png/png_errors.h"
#include "png/png_messages.h"
#include "png/png_stream.h"

#include <cstring>
#include <memory>

namespace sc::png {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

[[noreturn]] void RaiseZlibError(int code) {
    throw EPNGZLIBError(std::string(messages::EPNGZLIBErrorText) + ZlibResultText(code));
}

// Steps into the next IDAT chunk after checking the CRC of the one just finished.
void NextIdatChunk(TPngStream& stream, std::uint32_t& crc, std::uint64_t& chunkEnd) {
    std::uint8_t stored[4];
    if (stream.Read(stored, 4) != 4 || BigEndian32(stored) != ~crc)
        throw EPngInvalidCRC(messages::EPngInvalidCRCText);
    std::uint8_t head[8]{};
    stream.Read(head, 8);
    if (std::memcmp(head + 4, "IDAT", 4) != 0)
        throw EPNGMissingMultipleIDAT(messages::EPNGMissingMultipleIDATText);
    std::uint32_t length = BigEndian32(head);
    if (length > 0x7FFFFFFFu) // no real stream holds such a chunk: a short read in the making
        throw EPngInvalidCRC(messages::EPngInvalidCRCText);
    crc = CrcUpdate(0xFFFFFFFFu, head + 4, 4);
    chunkEnd = stream.Position() + length;
}

} // namespace

const char* ZlibResultText(int code) {
    static const char* const texts[] = {"incompatible version (-6)",
                                        "buffer error (-5)",
                                        "insufficient memory (-4)",
                                        "data error (-3)",
                                        "stream error (-2)",
                                        "file error (-1)",
                                        "(0)",
                                        "stream end (1)",
                                        "need dictionary (2)"};
    if (code < -6 || code > 2)
        return "";
    return texts[code + 6];
}

TZStreamRecord::TZStreamRecord(TPngStream& source) : Source(&source) {
    Data = new std::uint8_t[kIdatBlockSize];
    int result = inflateInit(&ZLib);
    if (result != Z_OK) {
        delete[] Data;
        RaiseZlibError(result);
    }
}

TZStreamRecord::~TZStreamRecord() {
    inflateEnd(&ZLib);
    delete[] Data;
}

std::size_t FillFromIdat(TZStreamRecord& record, std::uint8_t* buffer, std::uint32_t& crc,
                         std::uint64_t& chunkEnd, std::size_t count) {
    z_stream& z = record.ZLib;
    TPngStream& stream = *record.Source;
    z.next_out = buffer;
    z.avail_out = static_cast<uInt>(count);
    while (z.avail_out > 0) {
        // zlib has seen the end of its data while rows are still missing.
        if (record.StreamEnded)
            throw EPNGMissingMultipleIDAT(messages::EPNGMissingMultipleIDATText);
        if (z.avail_in == 0 && stream.Position() >= chunkEnd) {
            NextIdatChunk(stream, crc, chunkEnd);
            continue;
        }
        if (z.avail_in == 0) {
            std::uint64_t left = chunkEnd - stream.Position();
            std::size_t want =
                left < kIdatBlockSize ? static_cast<std::size_t>(left) : kIdatBlockSize;
            std::size_t got = stream.Read(record.Data, want);
            if (got == 0)
                return count - z.avail_out;
            crc = CrcUpdate(crc, record.Data, got);
            z.next_in = record.Data;
            z.avail_in = static_cast<uInt>(got);
        }
        int result = inflate(&z, Z_NO_FLUSH);
        if (result < 0 || result == Z_NEED_DICT)
            RaiseZlibError(result);
        if (result == Z_STREAM_END)
            record.StreamEnded = true;
    }
    return count;
}

void DrainIdat(TZStreamRecord& record, std::uint32_t& crc, std::uint64_t chunkEnd) {
    TPngStream& stream = *record.Source;
    while (stream.Position() < chunkEnd) {
        std::uint64_t left = chunkEnd - stream.Position();
        std::size_t want = left < kIdatBlockSize ? static_cast<std::size_t>(left) : kIdatBlockSize;
        std::size_t got = stream.Read(record.Data, want);
        if (got == 0)
            return;
        crc = CrcUpdate(crc, record.Data, got);
    }
}

bool InflateBuffer(const std::uint8_t* input, std::size_t size, std::string& output,
                   std::string& errorText) {
    output.clear();
    errorText.clear();
    z_stream z{};
    int result = inflateInit(&z);
    if (result != Z_OK) {
        errorText = z.msg ? z.msg : ZlibResultText(result);
        return false;
    }
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = static_cast<uInt>(size);
    auto piece = std::make_unique<std::uint8_t[]>(kIdatBlockSize);
    bool ok = false;
    for (;;) {
        z.next_out = piece.get();
        z.avail_out = static_cast<uInt>(kIdatBlockSize);
        result = inflate(&z, Z_NO_FLUSH);
        std::size_t produced = kIdatBlockSize - z.avail_out;
        if (output.size() + produced > kInflateBufferLimit) {
            errorText = "output too large";
            break;
        }
        output.append(reinterpret_cast<const char*>(piece.get()), produced);
        if (result == Z_STREAM_END) {
            ok = true;
            break;
        }
        if (result != Z_OK) { // an error, a dictionary request or input used up
            errorText = z.msg ? z.msg : ZlibResultText(result);
            break;
        }
    }
    inflateEnd(&z);
    if (!ok)
        output.clear();
    return ok;
}

} // namespace sc::png
