// The stored form of a PNG image list in a window definition: its properties in stored order,
// with each item's complete PNG file. Platform-neutral data; the Windows layer loads it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tk {

struct PngImageItemDefinition {
    std::span<const unsigned char> pngData; // a complete PNG file, signature to IEND
    std::string name;
    // A toolkit colour value (0x00BBGGRR, or 0xFF0000nn for system colour nn); none: the
    // default, the button face.
    std::optional<std::uint32_t> background;
};

// The same pictures drawn for a larger scale: each PNG file of width x height, in the order of
// the list's pngImages (names and backgrounds are theirs).
struct PngImageScaledSet {
    int width = 0;
    int height = 0;
    std::vector<std::span<const unsigned char>> pngData;
};

struct PngImageListDefinition {
    std::string name;
    int height = 16;
    int width = 16;
    bool enabledImages = true;
    std::vector<PngImageItemDefinition> pngImages;
    std::optional<unsigned> pngOptions; // none: the default {blend on disabled}
    int left = 0, top = 0;              // place on the design surface, no run-time meaning
    // Further sets of the pictures at other scales; the list loads the one its DPI needs.
    std::vector<PngImageScaledSet> scaledSets;
};

} // namespace tk
