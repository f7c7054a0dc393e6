// Enters TPNGObject as the picture format of ".png" files for the registration's lifetime.
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
