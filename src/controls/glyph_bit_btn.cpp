#include "controls/button_drawing_win32.h"
#include "controls/glyph_button.h"
#include "toolkit/form.h"

#include "text/utf.h"

namespace sc::controls {

TGlyphBitBtn::TGlyphBitBtn(tk::TForm& form, const tk::ControlDefinition& definition, int id)
    : TGlyphButton(form, definition, id) {
    imageChangeLink_.OnChange = [this] {
        if (images_ && imageChangeLink_.Sender() == nullptr) {
            images_ = nullptr; // the list is gone
            invalidateAll();
            return;
        }
        if (handle()) {
            UpdateWindow(handle()); // carry out a pending repaint now
        }
    };
}

TGlyphBitBtn::~TGlyphBitBtn() {
    if (images_) {
        images_->UnRegisterChanges(imageChangeLink_);
    }
}

void TGlyphBitBtn::setImages(tk::TCustomImageList* value) {
    if (value == images_) {
        return;
    }
    if (images_) {
        images_->UnRegisterChanges(imageChangeLink_);
    }
    images_ = value;
    if (images_) {
        images_->RegisterChanges(imageChangeLink_);
    }
    invalidateAll();
}

#define SC_BITBTN_WRITER(setter, member)                                                           \
    void TGlyphBitBtn::setter(int value) {                                                         \
        if (value != member) {                                                                     \
            member = value;                                                                        \
            invalidateAll();                                                                       \
        }                                                                                          \
    }

SC_BITBTN_WRITER(setSpacing, spacing_)
SC_BITBTN_WRITER(setImageIndex, imageIndex_)
SC_BITBTN_WRITER(setDisabledIndex, disabledIndex_)

void TGlyphBitBtn::setLayout(TButtonLayout value) {
    if (value != layout_) {
        layout_ = value;
        invalidateAll();
    }
}

void TGlyphBitBtn::setMargin(int value) {
    if (value != margin_ && value >= -1) {
        margin_ = value;
        invalidateAll();
    }
}

void TGlyphBitBtn::setNumGlyphs(int value) {
    value = value < 1 ? 1 : value > 4 ? 4 : value;
    if (value != numGlyphs_) {
        numGlyphs_ = value;
        invalidateAll();
    }
}

void TGlyphBitBtn::copyGlyph(HBITMAP source) {
    glyph_ = GlyphBitmap{};
    BITMAP info{};
    if (source && GetObjectW(source, sizeof info, &info)) {
        glyph_.bitmap.reset(static_cast<HBITMAP>(
            tk::live::CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (glyph_.bitmap) {
            glyph_.width = info.bmWidth;
            glyph_.height = info.bmHeight;
        }
    }
    glyphChanged();
}

// The kind's standard picture for the form's DPI: two side by side, normal and disabled.
void TGlyphBitBtn::copyKindGlyph(TBitBtnKind kind) {
    copyGlyph(KindGlyph(kind, form().Dpi()));
    numGlyphs_ = 2;
}

void TGlyphBitBtn::applyDpi() {
    TGlyphButton::applyDpi();
    if (kind_ != bkCustom && !modifiedGlyph_) {
        copyKindGlyph(kind_);
    }
}

void TGlyphBitBtn::setGlyph(HBITMAP value) {
    copyGlyph(value);
    modifiedGlyph_ = true;
}

void TGlyphBitBtn::glyphChanged() {
    if (glyph_.height > 0 && glyph_.width % glyph_.height == 0) {
        int n = glyph_.width / glyph_.height;
        numGlyphs_ = n >= 1 && n <= 4 ? n : 1;
    }
    invalidateAll();
}

TBitBtnKind TGlyphBitBtn::kind() {
    kind_ = readKind(kind_, isDefault(), cancel(), modalResult(), modifiedGlyph_);
    return kind_;
}

void TGlyphBitBtn::setKind(TBitBtnKind value) {
    if (value != bkCustom) {
        const KindInfo& k = kindInfo(value);
        setDefault(k.isDefault);
        setCancel(k.cancel);
        // A caption the definition already gave stays while the form is being loaded.
        if (!(form().loading() && !caption().empty())) {
            setCaption(k.caption);
        }
        setModalResult(k.modalResult);
        copyKindGlyph(value);
        modifiedGlyph_ = false;
    }
    kind_ = value;
    invalidateAll();
}

bool TGlyphBitBtn::isStored(StoredProperty property) {
    return controls::isStored(property, kind(), caption());
}

void TGlyphBitBtn::GetGlyphSize(int& w, int& h) {
    if (hasImage()) {
        w = images_->Width();
        h = images_->Height();
    } else {
        w = glyph_.width / (numGlyphs_ > 0 ? numGlyphs_ : 1);
        h = glyph_.height;
    }
}

ButtonGeometry TGlyphBitBtn::geometry() {
    ButtonGeometry g = TGlyphButton::geometry();
    g.hasPicture = hasImage() || !glyph_.empty();
    GetGlyphSize(g.glyphWidth, g.glyphHeight);
    g.layout = layout_;
    g.margin = scaledMargin(margin_, form().Dpi());
    g.spacing = scaledSpacing(spacing_, form().Dpi());
    if (margin_ == -1 && (layout_ == blGlyphTop || layout_ == blGlyphBottom)) {
        // The measured placement needs the caption's height.
        HDC dc = canvas().handle();
        tk::WindowDc screen(handle());
        HDC measureDc = dc ? dc : screen.get();
        HGDIOBJ old = SelectObject(measureDc, form().fonts().get(font()));
        RECT r = toRECT(plainCaptionRect(g));
        g.captionHeight =
            DrawTextW(measureDc, sc::text::toUtf16(caption()).c_str(), -1, &r,
                      DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
        SelectObject(measureDc, old);
    }
    return g;
}

Rect TGlyphBitBtn::GetCaptionRect() {
    return controls::captionRect(geometry());
}

Rect TGlyphBitBtn::GetGlyphRect() {
    return controls::glyphRect(geometry());
}

void TGlyphBitBtn::PaintContent() {
    TGlyphButton::PaintContent();
    if (kind() == bkCustom && hasImage()) {
        DrawImage(GetGlyphRect());
    } else if (!glyph_.empty()) {
        DrawGlyph(GetGlyphRect());
    }
}

void TGlyphBitBtn::DrawImage(const Rect& r) {
    int index = imageIndex_;
    bool drawEnabled = enabled();
    if (disabledIndex_ != -1) {
        index = enabled() ? imageIndex_ : disabledIndex_;
        drawEnabled = true;
    }
    if (index != -1) {
        images_->Draw(canvas(), r.left, r.top, index, drawEnabled);
    }
}

void TGlyphBitBtn::DrawGlyph(const Rect& r) {
    int w = r.width();
    int h = r.height();
    int part = 0;
    if (numGlyphs_ == 4 && downLook()) {
        part = 3;
    } else if (numGlyphs_ >= 3 && input_.showPressed()) {
        part = 2;
    } else if (numGlyphs_ >= 2 && !enabled()) {
        part = 1;
    }
    // The transparent colour is the bottom-left pixel's.
    COLORREF key = 0;
    {
        tk::UniqueMemoryDc probe(tk::live::CreateCompatibleDC(canvas().handle()));
        tk::SelectGuard select(probe.get(), glyph_.bitmap.get());
        key = GetPixel(probe.get(), 0, glyph_.height - 1);
    }
    DrawKeyedBitmap(canvas().handle(), glyph_.bitmap.get(), r, key, {part * w, 0, part * w + w, h});
}

} // namespace sc::controls
