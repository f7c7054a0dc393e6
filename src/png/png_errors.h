// The PNG codec's exception classes. Each derives directly from std::runtime_error, carries its
// fixed message text and can name its own class.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace sc::png {

#define SC_PNG_EXCEPTION(Name)                                                                     \
    class Name : public std::runtime_error {                                                       \
      public:                                                                                      \
        explicit Name(const std::string& message) : std::runtime_error(message) {}                 \
        static constexpr const char* StaticClassName = #Name;                                      \
        const char* ClassName() const noexcept { return StaticClassName; }                         \
    };

SC_PNG_EXCEPTION(EPngError)
SC_PNG_EXCEPTION(EPngUnexpectedEnd)
SC_PNG_EXCEPTION(EPngInvalidCRC)
SC_PNG_EXCEPTION(EPngInvalidIHDR)
SC_PNG_EXCEPTION(EPNGMissingMultipleIDAT)
SC_PNG_EXCEPTION(EPNGZLIBError)
SC_PNG_EXCEPTION(EPNGInvalidPalette)
SC_PNG_EXCEPTION(EPNGInvalidFileHeader)
SC_PNG_EXCEPTION(EPNGIHDRNotFirst)
SC_PNG_EXCEPTION(EPNGSizeExceeds)
SC_PNG_EXCEPTION(EPNGUnknownCriticalChunk)
SC_PNG_EXCEPTION(EPNGUnknownCompression)
SC_PNG_EXCEPTION(EPNGUnknownInterlace)
SC_PNG_EXCEPTION(EPNGNoImageData)
SC_PNG_EXCEPTION(EPNGHeaderNotPresent)
SC_PNG_EXCEPTION(EPNGOutMemory)

#undef SC_PNG_EXCEPTION

// The class name of a codec exception ("EPngInvalidCRC", ...); "std::exception" for others.
const char* PngExceptionClassName(const std::exception& error) noexcept;

} // namespace sc::png
