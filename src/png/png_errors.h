// The PNG codec's exception classes. Each derives directly from std::runtime_error and carries
// its fixed message text.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace sc::png {

// Every exception class of the codec, applied to X.
#define SC_PNG_EXCEPTIONS(X)                                                                       \
    X(EPngError)                                                                                   \
    X(EPngUnexpectedEnd)                                                                           \
    X(EPngInvalidCRC)                                                                              \
    X(EPngInvalidIHDR)                                                                             \
    X(EPNGMissingMultipleIDAT)                                                                     \
    X(EPNGZLIBError)                                                                               \
    X(EPNGInvalidPalette)                                                                          \
    X(EPNGInvalidFileHeader)                                                                       \
    X(EPNGIHDRNotFirst)                                                                            \
    X(EPNGSizeExceeds)                                                                             \
    X(EPNGUnknownCriticalChunk)                                                                    \
    X(EPNGUnknownCompression)                                                                      \
    X(EPNGUnknownInterlace)                                                                        \
    X(EPNGNoImageData)                                                                             \
    X(EPNGHeaderNotPresent)                                                                        \
    X(EPNGOutMemory)

#define SC_PNG_EXCEPTION(Name)                                                                     \
    class Name : public std::runtime_error {                                                       \
      public:                                                                                      \
        explicit Name(const std::string& message) : std::runtime_error(message) {}                 \
    };
SC_PNG_EXCEPTIONS(SC_PNG_EXCEPTION)
#undef SC_PNG_EXCEPTION

// The class name of a codec exception ("EPngInvalidCRC", ...); "std::exception" for others.
const char* PngExceptionClassName(const std::exception& error) noexcept;

} // namespace sc::png
