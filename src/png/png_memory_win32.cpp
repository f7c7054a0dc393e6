// The two kernel calls are declared here so that the codec stays free of the Windows headers.
#include "png/png_memory.h"

#include <cstdlib>

extern "C" {
__declspec(dllimport) void* __stdcall VirtualAlloc(void* address, std::size_t size,
                                                   unsigned long type, unsigned long protect);
__declspec(dllimport) int __stdcall VirtualFree(void* address, std::size_t size,
                                                unsigned long type);
}

namespace sc::png {
namespace {
constexpr unsigned long kMemCommit = 0x1000;
constexpr unsigned long kMemReserve = 0x2000;
constexpr unsigned long kMemRelease = 0x8000;
constexpr unsigned long kPageReadWrite = 0x04;
} // namespace

void* AllocateZeroed(std::size_t size) noexcept {
    if (size == 0)
        return nullptr;
    if (size < kSmallZeroedSize)
        return std::calloc(1, size);
    return VirtualAlloc(nullptr, size, kMemReserve | kMemCommit, kPageReadWrite);
}

void ReleaseZeroed(void* memory, std::size_t size) noexcept {
    if (size < kSmallZeroedSize)
        std::free(memory);
    else if (memory)
        VirtualFree(memory, 0, kMemRelease);
}

} // namespace sc::png
