#include "toolkit/button.h"

#include "toolkit/form.h"
#include "toolkit/handles.h"
#include "toolkit/window_text.h"

namespace tk {

TButton::TButton(TForm& form, const ControlDefinition& definition, int id)
    : TWinControl(form, definition, id), default_(definition.isDefault), cancel_(definition.cancel),
      modalResult_(definition.modalResult) {
    DWORD style = WS_VISIBLE | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (definition.tabOrder >= 0) {
        style |= WS_TABSTOP;
    }
    createWindow(L"BUTTON", style, 0, definition.caption);
}

std::string TButton::caption() const {
    return windowText(handle());
}

void TButton::setCaption(const std::string& caption) {
    setWindowText(handle(), caption);
}

void TButton::command(WORD code) {
    if (code == BN_CLICKED) {
        click();
    }
}

void TButton::click() {
    if (modalResult_ != 0) {
        form().setModalResult(modalResult_);
    }
    TWinControl::click();
}

TBevel::TBevel(TForm& form, const ControlDefinition& definition)
    : TControl(form, definition), shape_(definition.bevelShape) {}

namespace {

void line(HDC dc, int x, int y, int length, TColor colour) {
    UniqueBrush brush(live::CreateSolidBrush(ColorToRGB(colour)));
    RECT r{x, y, x + length, y + 1};
    FillRect(dc, &r, brush.get());
}

void column(HDC dc, int x, int y, int length, TColor colour) {
    UniqueBrush brush(live::CreateSolidBrush(ColorToRGB(colour)));
    RECT r{x, y, x + 1, y + length};
    FillRect(dc, &r, brush.get());
}

} // namespace

void TBevel::paint(HDC dc) {
    // Lowered etched look: a shadow line over a highlight line.
    switch (shape_) {
    case BevelShape::topLine:
        line(dc, left(), top(), width(), clBtnShadow);
        line(dc, left(), top() + 1, width(), clBtnHighlight);
        break;
    case BevelShape::bottomLine:
        line(dc, left(), top() + height() - 2, width(), clBtnShadow);
        line(dc, left(), top() + height() - 1, width(), clBtnHighlight);
        break;
    case BevelShape::box:
    case BevelShape::frame:
        line(dc, left(), top(), width() - 1, clBtnShadow);
        column(dc, left(), top(), height() - 1, clBtnShadow);
        line(dc, left(), top() + height() - 1, width(), clBtnHighlight);
        column(dc, left() + width() - 1, top(), height(), clBtnHighlight);
        break;
    }
}

} // namespace tk
