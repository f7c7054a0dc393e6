// Enters TPNGObject as the picture format of ".png" files, and GDI as its platform
// (png_platform.h), for the registration's lifetime.
#pragma once

namespace sc::png {

class TPngPictureFormat {
  public:
    TPngPictureFormat();
    ~TPngPictureFormat();
    TPngPictureFormat(const TPngPictureFormat&) = delete;
    TPngPictureFormat& operator=(const TPngPictureFormat&) = delete;
};

} // namespace sc::png
