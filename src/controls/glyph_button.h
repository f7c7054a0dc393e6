// Glyph buttons: push buttons that paint themselves (frame, face, caption, picture and focus
// rectangle) in a themed, a classic or a hot-track look. The decisions are the platform-neutral
// core's (button_layout, button_drawing, button_input); these classes carry them out.
#pragma once

#include "controls/button_input.h"
#include "controls/button_layout.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"
#include "toolkit/handles.h"
#include "toolkit/image_list.h"

#include <string>

namespace sc::controls {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum THotTrackColorType { htctComplement, htctActual };

// Sent to every control of the parent when a grouped button goes down or changes its group:
// wParam the group index, lParam the sending TGlyphButton.
inline constexpr UINT kGroupNotice = 0x2421;

// The screen shows more than 256 colours (determined once).
bool fullColorDisplay();

class TCustomGlyphButton : public tk::TWinControl, protected ButtonHost {
  public:
    TCustomGlyphButton(tk::TForm& form, const tk::ControlDefinition& definition, int id);
    ~TCustomGlyphButton() override;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& value);
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& value);
    bool enabled() const { return enabled_; }
    void setEnabled(bool value);

    TAlignmentVertical alignmentVertical() const { return alignmentVertical_; }
    virtual void setAlignmentVertical(TAlignmentVertical value);
    bool hotTrack() const { return hotTrack_; }
    virtual void setHotTrack(bool value);
    Colour highlightColor() const { return highlightColor_; }
    virtual void setHighlightColor(Colour value);
    bool lightTextStyle() const { return lightTextStyle_; }
    virtual void setLightTextStyle(bool value);
    TTextStyle textStyle() const { return textStyle_; }
    virtual void setTextStyle(TTextStyle value);
    Colour textHighlightColor() const { return textHighlightColor_; }
    virtual void setTextHighlightColor(Colour value);
    Colour textShadowColor() const { return textShadowColor_; }
    virtual void setTextShadowColor(Colour value);
    int textShadowDepth() const { return textShadowDepth_; }
    virtual void setTextShadowDepth(int value);
    bool themeAware() const { return themeAware_; }
    virtual void setThemeAware(bool value);
    Colour hotTrackColor() const { return hotTrackColor_; }
    void setHotTrackColor(Colour value) { hotTrackColor_ = value; }
    THotTrackColorType hotTrackColorType() const { return hotTrackColorType_; }
    void setHotTrackColorType(THotTrackColorType value) { hotTrackColorType_ = value; }
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool value);
    // OnMouseEnter and OnMouseLeave besides the toolkit's events.
    bool bindNotify(const std::string& event, tk::TNotifyEvent handler) override;
    // The button opens a menu: screen readers are told so (a menu button with a popup).
    bool opensMenu() const { return opensMenu_; }
    void setOpensMenu(bool value) { opensMenu_ = value; }
    tk::AccessibleElement accessibleSelf() override;
    void accessibleAction(long child) override;

    tk::TNotifyEvent OnMouseEnter;
    tk::TNotifyEvent OnMouseLeave;

    // The pointer, keyboard and group state (what the painting reads).
    const ButtonInput& state() const { return input_; }
    // The erase step and the paint into a device context of the client's size.
    void paintTo(HDC dc);
    // The themed look is wanted: ThemeAware and visual styles in use.
    virtual bool UseThemes();

  protected:
    virtual void PaintTransparentBackground(HDC dc);
    // ButtonHost: the pressed look changed; nothing to do here.
    void PressStateChanged() override {}
    virtual void FocusStateChanged();
    virtual Rect GetHotTrackRect();
    virtual void DrawCaption(tk::TCanvas& canvas, const Rect& rect, UINT flags);
    virtual void ButtonPressed() = 0;
    virtual void setPaintParentCorners(bool value);
    // The paint operation of the custom control: frame, face and content.
    virtual void Paint() = 0;
    // The face colour used by the erase step and the caption.
    virtual Colour faceColour() const { return kBtnFace; }

    bool paintParentCorners() const { return paintParentCorners_; }
    // The colour of the control the button lies in (the form's when it lies on the form).
    Colour parentColour() const;
    // Whether the parent repaints itself after lending its image for the see-through corners:
    // not the form, nor a control that paints itself completely (the toolkit's containers and
    // these buttons); a parent the platform draws does.
    bool parentNeedsRefresh() const;
    bool canFocus() const;
    void invalidateAll(bool erase = true);
    tk::TCanvas& canvas() { return canvas_; }
    // True while a themed paint could not use the theme: that paint is classic.
    bool themeFallback_ = false;
    // A contrast theme is on: the button paints in the system colours.
    bool contrastTheme() const;

    bool subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // ButtonHost
    bool takeFocus() override;
    void activeChanged() override { repaint(); }
    void invalidate() override { invalidateAll(); }
    void broadcastGroupNotice() override {}
    void click() override;
    void pressed() override { ButtonPressed(); }

    ButtonInput input_{*this};

  private:
    void mouseMove(int x, int y);
    void hoverChanged(ButtonInput::Hover change);
    void updateWindowText();

    tk::TCanvas canvas_;
    std::string caption_;
    std::string hint_;
    bool enabled_ = true;
    bool tabStop_ = true;
    TAlignmentVertical alignmentVertical_ = avCenter;
    bool hotTrack_ = false;
    Colour highlightColor_ = kHighlight;
    bool lightTextStyle_ = false;
    TTextStyle textStyle_ = tsNormal;
    Colour textHighlightColor_ = kBtnHighlight;
    Colour textShadowColor_ = kBtnShadow;
    int textShadowDepth_ = 2;
    bool themeAware_ = true;
    Colour hotTrackColor_ = 0x149BF0;
    THotTrackColorType hotTrackColorType_ = htctActual;
    bool paintParentCorners_ = false;
    bool opensMenu_ = false;
};

class TGlyphButton : public TCustomGlyphButton {
  public:
    TGlyphButton(tk::TForm& form, const tk::ControlDefinition& definition, int id);

    Colour color() const { return color_; }
    void setColor(Colour value);
    TAlignment alignment() const { return alignment_; }
    virtual void setAlignment(TAlignment value);
    bool isDefault() const { return input_.isDefault(); }
    virtual void setDefault(bool value);
    bool cancel() const { return input_.cancel(); }
    void setCancel(bool value) { input_.setCancel(value); }
    int modalResult() const { return modalResult_; }
    void setModalResult(int value) { modalResult_ = value; }
    bool dropDownOnEnter() const { return dropDownOnEnter_; }
    void setDropDownOnEnter(bool value) { dropDownOnEnter_ = value; }
    bool allowAllUp() const { return input_.allowAllUp(); }
    virtual void setAllowAllUp(bool value) { input_.setAllowAllUp(value); }
    bool down() const { return input_.down(); }
    virtual void setDown(bool value) { input_.setDown(value); }
    Colour frameColor() const { return frameColor_; }
    virtual void setFrameColor(Colour value);
    int groupIndex() const { return input_.groupIndex(); }
    virtual void setGroupIndex(int value) { input_.setGroupIndex(value); }
    bool showDownPattern() const { return showDownPattern_; }
    virtual void setShowDownPattern(bool value);
    bool showFocusRect() const { return showFocusRect_; }
    virtual void setShowFocusRect(bool value);
    void setHotTrack(bool value) override;
    // The click: the modal result to the form, then OnClick.
    void click() override;

  protected:
    virtual Rect GetCaptionRect();
    virtual void PaintContent();
    virtual void BuildDownPattern(tk::UniqueBitmap& bitmap);
    void PressStateChanged() override { invalidateAll(); }
    void PaintTransparentBackground(HDC dc) override;
    void ButtonPressed() override { input_.completePress(); }
    void Paint() override;
    Colour faceColour() const override { return color_; }
    // The geometry of this paint (size, look, state; the picture's in TGlyphBitBtn).
    virtual ButtonGeometry geometry();
    bool downLook() const { return groupIndex() != 0 && down(); }

    bool subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void broadcastGroupNotice() override;

  private:
    Colour color_ = kBtnFace;
    TAlignment alignment_ = taCenter;
    int modalResult_ = 0;
    bool dropDownOnEnter_ = true;
    Colour frameColor_ = k3DDkShadow;
    bool showDownPattern_ = true;
    bool showFocusRect_ = true;
};

// A bitmap the button owns, with its size.
struct GlyphBitmap {
    tk::UniqueBitmap bitmap;
    int width = 0, height = 0;
    bool empty() const { return !bitmap || width <= 0 || height <= 0; }
};

class TGlyphBitBtn : public TGlyphButton {
  public:
    TGlyphBitBtn(tk::TForm& form, const tk::ControlDefinition& definition, int id);
    ~TGlyphBitBtn() override;

    const GlyphBitmap& glyph() const { return glyph_; }
    // Copies the bitmap (null: empty); marks the glyph as the user's.
    virtual void setGlyph(HBITMAP value);
    virtual TBitBtnKind kind();
    virtual void setKind(TBitBtnKind value);
    TButtonLayout layout() const { return layout_; }
    virtual void setLayout(TButtonLayout value);
    int margin() const { return margin_; }
    virtual void setMargin(int value);
    int numGlyphs() const { return numGlyphs_; }
    virtual void setNumGlyphs(int value);
    int spacing() const { return spacing_; }
    virtual void setSpacing(int value);
    int imageIndex() const { return imageIndex_; }
    virtual void setImageIndex(int value);
    int disabledIndex() const { return disabledIndex_; }
    virtual void setDisabledIndex(int value);
    tk::TCustomImageList* images() const { return images_; }
    virtual void setImages(tk::TCustomImageList* value);
    // Whether form data would store the property (the kind decides for some of them).
    bool isStored(StoredProperty property);

    // The picture rectangle of the current state.
    Rect glyphRect() { return GetGlyphRect(); }
    Rect captionRect() { return GetCaptionRect(); }
    // At a new DPI a kind's standard picture is taken again, for that DPI.
    void applyDpi() override;

  protected:
    virtual void GetGlyphSize(int& width, int& height);
    virtual Rect GetGlyphRect();
    virtual void DrawImage(const Rect& r);
    virtual void DrawGlyph(const Rect& r);
    Rect GetCaptionRect() override;
    void PaintContent() override;
    ButtonGeometry geometry() override;

  private:
    bool hasImage() const { return images_ && imageIndex_ != -1; }
    void glyphChanged();
    void copyGlyph(HBITMAP source);
    void copyKindGlyph(TBitBtnKind kind);

    GlyphBitmap glyph_;
    int numGlyphs_ = 1;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    int margin_ = 2;
    int imageIndex_ = -1;
    int disabledIndex_ = -1;
    tk::TCustomImageList* images_ = nullptr;
    tk::TChangeLink imageChangeLink_;
    bool modifiedGlyph_ = false;
};

// The standard picture of a kind (two side by side: normal and disabled), loaded from the
// program's resources on first use and kept; null for bkCustom.
HBITMAP KindGlyph(TBitBtnKind kind);
// The same for a DPI: pictures of 18 x 18 scaled by dpi / 96 (MulDiv rounding), from the set
// drawn at that size (18, 27 or 36), else the next larger set resampled down with the area
// filter, else the largest centred (never enlarged). At 96 the picture above.
HBITMAP KindGlyph(TBitBtnKind kind, int dpi);

} // namespace sc::controls
