#include "toolkit/label.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"

#include <oleacc.h>
#include "text/utf.h"

namespace tk {

TLabel::TLabel(TForm& form, const ControlDefinition& definition)
    : TControl(form, definition), caption_(definition.caption), autoSize_(definition.autoSize),
      wordWrap_(definition.wordWrap), transparent_(definition.transparent),
      showAccelChar_(definition.showAccelChar), colour_(definition.colour),
      contrastFontColour_(definition.contrastFontColour) {
    adjustSize();
}

unsigned TLabel::textFormat() const {
    unsigned format = DT_LEFT | DT_TOP | DT_EXPANDTABS;
    if (wordWrap_) {
        format |= DT_WORDBREAK;
    }
    if (!showAccelChar_) {
        format |= DT_NOPREFIX;
    }
    return format;
}

void TLabel::setCaption(const std::string& caption) {
    if (caption == caption_) {
        return;
    }
    invalidate();
    caption_ = caption;
    adjustSize();
    invalidate();
}

void TLabel::adjustSize() {
    if (!autoSize_) {
        return;
    }
    UniqueMemoryDc screen(live::CreateCompatibleDC(nullptr));
    SelectGuard font(screen.get(), form().fonts().get(this->font()));
    // An empty text still takes one line.
    std::wstring text = sc::text::toUtf16(caption_);
    if (text.empty() || (showAccelChar_ && text == L"&")) {
        text += L' ';
    }
    RECT r{0, 0, wordWrap_ ? width() : 0, 0};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
              textFormat() | DT_CALCRECT);
    setBounds(Bounds{left(), top(), wordWrap_ ? width() : r.right - r.left, r.bottom - r.top});
}

void TLabel::applyDpi() {
    TControl::applyDpi();
    adjustSize();
}

AccessibleElement TLabel::accessibleElement() const {
    AccessibleElement e;
    e.name = shownText(caption_, showAccelChar_);
    if (OnClick) {
        e.role = ROLE_SYSTEM_LINK;
        e.state = STATE_SYSTEM_LINKED;
        e.defaultAction = "Jump";
    } else {
        e.role = ROLE_SYSTEM_STATICTEXT;
        e.state = STATE_SYSTEM_READONLY;
    }
    return e;
}

void TLabel::paint(HDC dc) {
    RECT r{left(), top(), left() + width(), top() + height()};
    if (!transparent_ && colour_ != clNone) {
        UniqueBrush brush(live::CreateSolidBrush(ColorToRGB(colour_)));
        FillRect(dc, &r, brush.get());
    }
    SelectGuard font(dc, form().fonts().get(this->font()));
    SetBkMode(dc, TRANSPARENT);
    const bool contrast = contrastFontColour_ != clNone && Application().display().highContrast();
    SetTextColor(dc, ColorToRGB(contrast ? contrastFontColour_ : this->font().colour));
    // A label sized to its text is not cut at its edges: some renderers draw glyphs a little
    // wider than the text's measured extent.
    const std::wstring caption = sc::text::toUtf16(caption_);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              textFormat() | (autoSize_ && !wordWrap_ ? DT_NOCLIP : 0));
}

} // namespace tk
