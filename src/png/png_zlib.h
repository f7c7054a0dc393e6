// The glue between the PNG reader and zlib: the image data stream that crosses IDAT chunk
// boundaries, whole-buffer inflation for compressed texts, and zlib's result texts.
#pragma once

#include "png/png_stream.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace sc::png {

inline constexpr std::size_t kIdatBlockSize = 65535;
// Inflated data is produced in steps of this size and handed out row by row.
inline constexpr std::size_t kInflateStepSize = 131072;

// Bytes behind Output that row loops may read (their contents are not defined).
inline constexpr std::size_t kOutputSlack = 16;

// zlib's description of a result code, for example "data error (-3)"; "" outside -6..2.
const char* ZlibResultText(int code);

// The inflate state of one image data run, with its input block and source stream. zlib gets
// large output steps (its fast path needs room); the rows are then copied out of them.
struct TZStreamRecord {
    z_stream ZLib{};
    // DataSize (at most kIdatBlockSize) bytes of input, allocated on first need: a stream held
    // in memory lends its chunks in place instead.
    std::uint8_t* Data = nullptr;
    std::size_t DataSize = kIdatBlockSize;
    TPngStream* Source = nullptr;
    bool StreamEnded = false;
    std::uint8_t* Output = nullptr; // OutputSize bytes of inflated data (and kOutputSlack more)
    std::size_t OutputSize = 0;
    std::size_t OutputAt = 0, OutputEnd = 0;
    // Inflated bytes the image still needs; zlib is never asked for more.
    std::uint64_t Remaining = UINT64_MAX;
    // A zlib failure met behind data not yet handed out; raised when that data is used up.
    int PendingError = 0;
    // Bytes of one row with its filter byte, when the reader takes whole rows: a step then ends
    // where a row ends, so the rows can be unfiltered straight out of Output.
    std::size_t RowUnit = 0;
    // Bytes still missing of the row being filled when a step starts.
    std::size_t RowOwed = 0;
    // zlib's state is placed behind Output, in the same allocation; what does not fit there (its
    // window, a larger state) comes from the heap.
    std::uint8_t* Arena = nullptr;
    std::size_t ArenaSize = 0, ArenaUsed = 0;

    // outputLimit: the most inflated bytes the reader will ask for; inputHint: the length of the
    // first chunk, which sizes the input block of small images.
    explicit TZStreamRecord(TPngStream& source, std::uint64_t outputLimit = UINT64_MAX,
                            std::uint64_t inputHint = kIdatBlockSize);
    ~TZStreamRecord();
    TZStreamRecord(const TZStreamRecord&) = delete;
    TZStreamRecord& operator=(const TZStreamRecord&) = delete;
};

// Fills count bytes of inflated image data into buffer, moving on into following IDAT chunks
// (checking the CRC of each finished chunk). Returns count, or fewer when the stream delivered no
// more input. The running CRC and the chunk end follow the chunk being read.
std::size_t FillFromIdat(TZStreamRecord& record, std::uint8_t* buffer, std::uint32_t& crc,
                         std::uint64_t& chunkEnd, std::size_t count);

// Raises the zlib failure met behind the data handed out, if any: after the last row, a wrong
// checksum of the stream (when zlib reached it) or damage behind the image data.
void RaisePendingZlibError(const TZStreamRecord& record);

// Reads whatever is left of the current IDAT chunk into the running CRC.
void DrainIdat(TZStreamRecord& record, std::uint32_t& crc, std::uint64_t chunkEnd);

// Inflates one complete zlib stream held in memory. On failure errorText holds zlib's message.
// Output beyond kInflateBufferLimit bytes counts as a failure.
inline constexpr std::size_t kInflateBufferLimit = 16u << 20;
bool InflateBuffer(const std::uint8_t* input, std::size_t size, std::string& output,
                   std::string& errorText);

} // namespace sc::png
