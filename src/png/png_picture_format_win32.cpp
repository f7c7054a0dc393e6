#include "png/png_picture_format_win32.h"

#include "png/png_gdi_win32.h"
#include "png/png_image.h"
#include "png/png_platform.h"
#include "toolkit/picture.h"

namespace sc::png {

TPngPictureFormat::TPngPictureFormat() {
    SetPngPlatform(&GdiPngPlatform());
    tk::TPicture::RegisterFileFormat("PNG", "Portable Network Graphics", TPNGObject::GraphicClass);
}

TPngPictureFormat::~TPngPictureFormat() {
    tk::TPicture::UnregisterGraphicClass(TPNGObject::GraphicClass);
    SetPngPlatform(nullptr);
}

} // namespace sc::png
