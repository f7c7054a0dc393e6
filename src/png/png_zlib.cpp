#include "png/png_zlib.h"

#include "png/png_crc.h"
#include "png/png_errors.h"
#include "png/png_messages.h"
#include "png/png_stream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace sc::png {
namespace {

// Room for zlib's inflate state behind the output (7160 bytes in the releases we build with).
constexpr std::size_t kStateArena = 8192;
constexpr std::size_t kArenaAlign = 16;

voidpf ArenaAlloc(voidpf opaque, uInt items, uInt size) {
    auto& record = *static_cast<TZStreamRecord*>(opaque);
    const std::size_t bytes = std::size_t(items) * size; // both 32 bits: no overflow in 64
    const std::size_t rounded = (bytes + kArenaAlign - 1) / kArenaAlign * kArenaAlign;
    if (rounded <= record.ArenaSize - record.ArenaUsed) {
        std::uint8_t* at = record.Arena + record.ArenaUsed;
        record.ArenaUsed += rounded;
        return at;
    }
    return std::malloc(bytes);
}

void ArenaFree(voidpf opaque, voidpf address) {
    const auto& record = *static_cast<const TZStreamRecord*>(opaque);
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(address);
    const std::uintptr_t arena = reinterpret_cast<std::uintptr_t>(record.Arena);
    if (at >= arena && at - arena < record.ArenaSize)
        return;
    std::free(address);
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

TZStreamRecord::TZStreamRecord(TPngStream& source, std::uint64_t outputLimit,
                               std::uint64_t inputHint)
    : Source(&source), Remaining(outputLimit) {
    constexpr std::size_t kSmallestBlock = 16384;
    DataSize = inputHint < kSmallestBlock   ? kSmallestBlock
               : inputHint < kIdatBlockSize ? static_cast<std::size_t>(inputHint)
                                            : kIdatBlockSize;
    OutputSize =
        outputLimit < kInflateStepSize ? static_cast<std::size_t>(outputLimit) : kInflateStepSize;
    const std::size_t arenaAt =
        (OutputSize + kOutputSlack + kArenaAlign - 1) / kArenaAlign * kArenaAlign;
    Output = new std::uint8_t[arenaAt + kStateArena + kArenaAlign];
    // new[] aligns to the fundamental alignment only: start the arena on a 16-byte boundary.
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(Output) + arenaAt;
    Arena = Output + arenaAt + ((kArenaAlign - base % kArenaAlign) % kArenaAlign);
    ArenaSize = kStateArena;
    ZLib.zalloc = ArenaAlloc;
    ZLib.zfree = ArenaFree;
    ZLib.opaque = this;
    int result = inflateInit(&ZLib);
    if (result != Z_OK) {
        delete[] Output;
        RaiseZlibError(result);
    }
}

TZStreamRecord::~TZStreamRecord() {
    inflateEnd(&ZLib);
    delete[] Output;
    delete[] Data;
}

namespace {

// Reads the next piece of the current chunk, at most a block, into the input block (allocated
// when a stream first has to be read into it) and the running CRC; 0 when the stream has no more.
std::size_t ReadInputBlock(TZStreamRecord& record, std::uint32_t& crc, std::uint64_t chunkEnd) {
    const std::uint64_t left = chunkEnd - record.Source->Position();
    const std::size_t want =
        left < record.DataSize ? static_cast<std::size_t>(left) : record.DataSize;
    if (!record.Data)
        record.Data = new std::uint8_t[record.DataSize];
    const std::size_t got = record.Source->Read(record.Data, want);
    crc = CrcUpdate(crc, record.Data, got);
    return got;
}

// The rest of the current chunk, lent in place by a stream held in memory (the stream moves on
// behind it and the CRC takes it in); nullptr when the stream cannot lend it.
const std::uint8_t* TakeChunkInPlace(TPngStream& stream, std::uint32_t& crc,
                                     std::uint64_t chunkEnd) {
    const std::uint64_t left = chunkEnd - stream.Position();
    if (left > 0x7FFFFFFFu)
        return nullptr;
    const std::uint8_t* view = stream.View(static_cast<std::size_t>(left));
    if (view) {
        crc = CrcUpdate(crc, view, static_cast<std::size_t>(left));
        stream.SeekForward(left);
    }
    return view;
}

// Inflates the next step into Output. Input is read only up to the end of the current chunk;
// the next IDAT chunk is entered only when nothing has come out yet. Returns the bytes produced,
// 0 when the stream delivered no more input.
std::size_t InflateStep(TZStreamRecord& record, std::uint32_t& crc, std::uint64_t& chunkEnd) {
    z_stream& z = record.ZLib;
    TPngStream& stream = *record.Source;
    std::size_t room = record.Remaining < record.OutputSize
                           ? static_cast<std::size_t>(record.Remaining)
                           : record.OutputSize;
    const std::size_t unit = record.RowUnit;
    if (unit > 0 && room > record.RowOwed + unit)
        room = record.RowOwed + (room - record.RowOwed) / unit * unit;
    z.next_out = record.Output;
    z.avail_out = static_cast<uInt>(room);
    while (z.avail_out > 0) {
        const bool produced = z.avail_out < room;
        if (z.avail_in == 0 && stream.Position() >= chunkEnd) {
            if (produced)
                break;
            NextIdatChunk(stream, crc, chunkEnd);
            continue;
        }
        if (z.avail_in == 0) {
            const std::uint64_t left = chunkEnd - stream.Position();
            if (const std::uint8_t* view = TakeChunkInPlace(stream, crc, chunkEnd)) {
                z.next_in = const_cast<Bytef*>(view);
                z.avail_in = static_cast<uInt>(left);
            } else {
                const std::size_t got = ReadInputBlock(record, crc, chunkEnd);
                if (got == 0)
                    break;
                z.next_in = record.Data;
                z.avail_in = static_cast<uInt>(got);
            }
        }
        int result = inflate(&z, Z_NO_FLUSH);
        if (result < 0 || result == Z_NEED_DICT) {
            if (z.avail_out == room)
                RaiseZlibError(result);
            record.PendingError = result;
            break;
        }
        if (result == Z_STREAM_END) {
            record.StreamEnded = true;
            break;
        }
    }
    const std::size_t produced = room - z.avail_out;
    record.OutputAt = 0;
    record.OutputEnd = produced;
    record.Remaining -= produced;
    return produced;
}

} // namespace

std::size_t FillFromIdat(TZStreamRecord& record, std::uint8_t* buffer, std::uint32_t& crc,
                         std::uint64_t& chunkEnd, std::size_t count) {
    std::size_t filled = 0;
    while (filled < count) {
        if (record.OutputAt < record.OutputEnd) {
            std::size_t n = record.OutputEnd - record.OutputAt;
            if (n > count - filled)
                n = count - filled;
            std::memcpy(buffer + filled, record.Output + record.OutputAt, n);
            record.OutputAt += n;
            filled += n;
            continue;
        }
        if (record.PendingError)
            RaiseZlibError(record.PendingError);
        // zlib has seen the end of its data while rows are still missing. When its stream ended
        // exactly at the end of a chunk, the reader stands where it would cross into the next
        // one: that chunk's CRC is checked first, then the next chunk's type.
        if (record.StreamEnded || record.Remaining == 0) {
            if (record.ZLib.avail_in == 0 && record.Source->Position() == chunkEnd)
                NextIdatChunk(*record.Source, crc, chunkEnd);
            throw EPNGMissingMultipleIDAT(messages::EPNGMissingMultipleIDATText);
        }
        record.RowOwed = count - filled;
        if (InflateStep(record, crc, chunkEnd) == 0 && !record.PendingError && !record.StreamEnded)
            return filled;
    }
    return count;
}

void RaisePendingZlibError(const TZStreamRecord& record) {
    if (record.PendingError)
        RaiseZlibError(record.PendingError);
}

void DrainIdat(TZStreamRecord& record, std::uint32_t& crc, std::uint64_t chunkEnd) {
    TPngStream& stream = *record.Source;
    if (stream.Position() < chunkEnd && TakeChunkInPlace(stream, crc, chunkEnd))
        return;
    while (stream.Position() < chunkEnd)
        if (ReadInputBlock(record, crc, chunkEnd) == 0)
            return;
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
    // Filled by zlib before it is read: no zeroing of its 64 KiB for each compressed text.
    auto piece = std::make_unique_for_overwrite<std::uint8_t[]>(kIdatBlockSize);
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
