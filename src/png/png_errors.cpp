#include "png/png_errors.h"

namespace sc::png {
namespace {

template <class E> bool Is(const std::exception& error) {
    return dynamic_cast<const E*>(&error) != nullptr;
}

} // namespace

const char* PngExceptionClassName(const std::exception& error) noexcept {
#define SC_PNG_NAME(Name)                                                                          \
    if (Is<Name>(error))                                                                           \
        return Name::StaticClassName;
    SC_PNG_NAME(EPngError)
    SC_PNG_NAME(EPngUnexpectedEnd)
    SC_PNG_NAME(EPngInvalidCRC)
    SC_PNG_NAME(EPngInvalidIHDR)
    SC_PNG_NAME(EPNGMissingMultipleIDAT)
    SC_PNG_NAME(EPNGZLIBError)
    SC_PNG_NAME(EPNGInvalidPalette)
    SC_PNG_NAME(EPNGInvalidFileHeader)
    SC_PNG_NAME(EPNGIHDRNotFirst)
    SC_PNG_NAME(EPNGSizeExceeds)
    SC_PNG_NAME(EPNGUnknownCriticalChunk)
    SC_PNG_NAME(EPNGUnknownCompression)
    SC_PNG_NAME(EPNGUnknownInterlace)
    SC_PNG_NAME(EPNGNoImageData)
    SC_PNG_NAME(EPNGHeaderNotPresent)
    SC_PNG_NAME(EPNGOutMemory)
#undef SC_PNG_NAME
    return "std::exception";
}

} // namespace sc::png
