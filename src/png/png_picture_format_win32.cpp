#include "png/png_picture_format_win32.h"

#include "png/png_image.h"
#include "toolkit/picture.h"

namespace sc::png {

TPngPictureFormat::TPngPictureFormat() {
    tk::TPicture::RegisterFileFormat("PNG", "Portable Network Graphics", TPNGObject::GraphicClass);
}

TPngPictureFormat::~TPngPictureFormat() {
    tk::TPicture::UnregisterGraphicClass(TPNGObject::GraphicClass);
}

} // namespace sc::png
