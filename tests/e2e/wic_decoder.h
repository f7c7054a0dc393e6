#pragma once
// The system's own image decoder (Windows Imaging Component), as an independent reader of the
// PNG files that the screenshot writer makes.

#include "rgb_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct IWICImagingFactory;

namespace e2e {

class WicDecoder {
  public:
    WicDecoder();
    ~WicDecoder();
    WicDecoder(const WicDecoder&) = delete;
    WicDecoder& operator=(const WicDecoder&) = delete;

    bool ready() const { return factory_ != nullptr; }

    // The first frame as 8-bit RGB (with alpha: R G B A per pixel), or nothing when WIC rejects
    // the data.
    std::optional<snapshot::RgbImage> decode(const std::vector<std::uint8_t>& file,
                                             bool alpha = false) const;
    std::optional<snapshot::RgbImage> decodeFile(const std::string& path, bool alpha = false) const;

  private:
    IWICImagingFactory* factory_ = nullptr;
};

} // namespace e2e
