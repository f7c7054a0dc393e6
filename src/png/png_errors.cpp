#include "png/png_errors.h"

namespace sc::png {

const char* PngExceptionClassName(const std::exception& error) noexcept {
#define SC_PNG_NAME(Name)                                                                          \
    if (dynamic_cast<const Name*>(&error))                                                         \
        return #Name;
    SC_PNG_EXCEPTIONS(SC_PNG_NAME)
#undef SC_PNG_NAME
    return "std::exception";
}

} // namespace sc::png
