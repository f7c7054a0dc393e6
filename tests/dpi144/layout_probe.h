#pragma once
// What a form's layout is, as the platform sees it: the client size and, per control, its window
// rectangle in the form's client coordinates, its font height and a list's row height.

#include "toolkit/form.h"
#include "toolkit/listbox.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace sc::test {

struct ControlPlace {
    std::string name;
    RECT rect{};
    int fontHeight = 0;
    int rowHeight = 0;
    bool operator==(const ControlPlace& o) const {
        return name == o.name && EqualRect(&rect, &o.rect) && fontHeight == o.fontHeight &&
               rowHeight == o.rowHeight;
    }
};

struct FormLayout {
    int dpi = 0;
    SIZE client{};
    std::vector<ControlPlace> controls;
    bool operator==(const FormLayout& o) const {
        return dpi == o.dpi && client.cx == o.client.cx && client.cy == o.client.cy &&
               controls == o.controls;
    }
};

inline std::ostream& operator<<(std::ostream& out, const FormLayout& l) {
    out << "dpi " << l.dpi << ", client " << l.client.cx << " x " << l.client.cy;
    for (const ControlPlace& c : l.controls) {
        out << "\n  " << c.name << " (" << c.rect.left << ", " << c.rect.top << ", " << c.rect.right
            << ", " << c.rect.bottom << ") font " << c.fontHeight << " row " << c.rowHeight;
    }
    return out;
}

inline FormLayout layoutOf(const tk::TForm& form) {
    FormLayout layout;
    layout.dpi = form.Dpi();
    RECT client{};
    GetClientRect(form.handle(), &client);
    layout.client = SIZE{client.right, client.bottom};
    for (const auto& c : form.controls()) {
        ControlPlace place;
        place.name = c->name();
        place.fontHeight = c->font().height;
        if (HWND w = c->handle()) {
            GetWindowRect(w, &place.rect);
            MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&place.rect), 2);
            LOGFONTA font{};
            auto f = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
            if (f && GetObjectA(f, sizeof font, &font)) {
                place.fontHeight = font.lfHeight;
            }
        } else {
            place.rect = RECT{c->left(), c->top(), c->left() + c->width(), c->top() + c->height()};
        }
        if (auto* list = dynamic_cast<const tk::TListBox*>(c.get())) {
            place.rowHeight =
                static_cast<int>(SendMessageA(list->handle(), LB_GETITEMHEIGHT, 0, 0));
        }
        layout.controls.push_back(place);
    }
    return layout;
}

// WM_DPICHANGED as the system sends it, with a suggested window rectangle (or none).
inline void sendDpiChanged(const tk::TForm& form, int dpi, const RECT* suggested) {
    SendMessageA(form.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(suggested));
}

} // namespace sc::test
