// The graphic base class of the picture framework: something of a width and a height that can
// be loaded from a stream and drawn onto a canvas in a rectangle. Platform-neutral: the canvas
// is the window toolkit's and only the Windows build defines it; drawing code that needs it
// lives in Windows-only files.
#pragma once

#include "graphics/rect.h"
#include "graphics/stream.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace tk {

class TCanvas;

using TRect = sc::Rect;

// A platform palette handle (HPALETTE on Windows); nullptr for none.
using TPaletteHandle = void*;

class TGraphic;

// A graphic class as the picture registry knows it: its name and how to make an empty one.
struct TGraphicClass {
    const char* ClassName;
    std::unique_ptr<TGraphic> (*Create)();
};

// Raised when a graphic cannot be assigned from another ("Cannot assign a TBitmap to a TIcon").
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TGraphic {
  public:
    virtual ~TGraphic() = default;
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual const char* ClassName() const = 0;
    // Draws onto the canvas in the rectangle (how the rectangle is used is the class's).
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // True when parts of the graphic let the background show through.
    virtual bool Transparent() const { return false; }
    // The graphic's palette, nullptr for none; owned by the graphic.
    virtual TPaletteHandle Palette() { return nullptr; }
    virtual void SetPalette(TPaletteHandle) {}
    // Copies the source; the default raises EConvertError "Cannot assign a <source class> to a
    // <this class>".
    virtual void Assign(const TGraphic& source) {
        throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a " +
                            ClassName());
    }
    // Replaces the contents with the graphic read from the stream; raises on bad data.
    virtual void LoadFromStream(TStream& stream) = 0;
};

} // namespace tk
