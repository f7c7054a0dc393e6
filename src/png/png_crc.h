// CRC-32 of the PNG standard (reflected polynomial 0xEDB88320), sliced by eight, or folded with
// carry-less multiplication where the processor has it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sc::png {
enum class TVectorLevel;
}

namespace sc::png {

// Continues a running CRC register (start 0xFFFFFFFF, complement at the end).
std::uint32_t CrcUpdate(std::uint32_t crc, const void* data, std::size_t size);
// The same at a given vector level (the tables alone below TVectorLevel::Clmul).
std::uint32_t CrcUpdate(std::uint32_t crc, const void* data, std::size_t size, TVectorLevel level);

} // namespace sc::png
