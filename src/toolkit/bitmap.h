// Minimal bitmap and icon graphics: what the PNG conversions need and no more.
#pragma once

#include "graphics/graphic.h"
#include "toolkit/colours.h"
#include "toolkit/handles.h"

namespace tk {

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum class TTransparentMode { tmAuto, tmFixed };

// A bitmap handle (a DIB section made here, or any DIB or DDB handed over) with its size and
// pixel format, a memory context to draw on, and the transparency settings of a picture.
class TBitmap : public TGraphic {
  public:
    TBitmap() = default;
    ~TBitmap() override;

    const char* ClassName() const override { return "TBitmap"; }
    // Stretches the bitmap into the rectangle; a transparent bitmap leaves its transparent
    // colour out.
    void Draw(TCanvas& canvas, const TRect& rect) override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !bitmap_; }
    bool Transparent() const override { return transparent_; }
    // From another TBitmap: a copy of its pixels and settings; else EConvertError.
    void Assign(const TGraphic& source) override;
    // Streams of bitmap files are not read by this toolkit: raises EConvertError.
    void LoadFromStream(TStream& stream) override;

    // A new zeroed top-down DIB section of that size and format (pfDevice: compatible with
    // the screen).
    void SetSize(int width, int height);
    void SetPixelFormat(TPixelFormat format);
    TPixelFormat PixelFormat() const { return format_; }

    // Takes ownership of the handle; its size and format are read from it.
    void SetHandle(HBITMAP handle);
    HBITMAP Handle() const { return bitmap_.get(); }
    // Gives up the handle (the caller owns it); the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    // A memory context with the bitmap selected, made on first use.
    HDC CanvasHandle() const;

    // 0x00BBGGRR of pixel (x, y); 0 outside the bitmap.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor colour);

    void SetTransparent(bool value) { transparent_ = value; }
    TTransparentMode TransparentMode() const { return mode_; }
    void SetTransparentMode(TTransparentMode mode) { mode_ = mode; }
    // tmFixed: the colour set; tmAuto: the bottom-left pixel's.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor colour) {
        colour_ = colour;
        mode_ = TTransparentMode::tmFixed;
    }

  private:
    void ReleaseCanvas() const;
    void Recreate();

    UniqueBitmap bitmap_;
    mutable UniqueMemoryDc dc_;
    mutable HGDIOBJ previous_ = nullptr;
    int width_ = 0, height_ = 0;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    bool transparent_ = false;
    TTransparentMode mode_ = TTransparentMode::tmAuto;
    TColor colour_ = clNone;
};

// An icon handle holder.
class TIcon : public TGraphic {
  public:
    TIcon() = default;
    ~TIcon() override;

    const char* ClassName() const override { return "TIcon"; }
    // Draws the icon stretched to the rectangle.
    void Draw(TCanvas& canvas, const TRect& rect) override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return icon_ == nullptr; }
    bool Transparent() const override { return true; }
    void LoadFromStream(TStream& stream) override;

    // Takes ownership of the icon; its size is read from its colour or mask bitmap.
    void SetHandle(HICON icon);
    HICON Handle() const { return icon_; }
    HICON ReleaseHandle();

  private:
    HICON icon_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace tk
