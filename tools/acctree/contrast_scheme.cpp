#include "contrast_scheme.h"

namespace acctree {

namespace {

// The colours a contrast scheme sets: text and background, links, disabled text, selected text
// and its background, button text and face; frames and bevels take the button text.
SystemColours scheme(COLORREF text, COLORREF background, COLORREF link, COLORREF disabled,
                     COLORREF selection, COLORREF selectedText) {
    return {{COLOR_WINDOW, background},   {COLOR_WINDOWTEXT, text},
            {COLOR_BTNFACE, background},  {COLOR_BTNTEXT, text},
            {COLOR_HOTLIGHT, link},       {COLOR_GRAYTEXT, disabled},
            {COLOR_HIGHLIGHT, selection}, {COLOR_HIGHLIGHTTEXT, selectedText},
            {COLOR_BTNHIGHLIGHT, text},   {COLOR_BTNSHADOW, text},
            {COLOR_3DDKSHADOW, text},     {COLOR_3DLIGHT, background},
            {COLOR_WINDOWFRAME, text},    {COLOR_MENU, background},
            {COLOR_MENUTEXT, text},       {COLOR_INFOBK, background},
            {COLOR_INFOTEXT, text},       {COLOR_APPWORKSPACE, background}};
}

} // namespace

SystemColours contrastScheme(std::string_view name) {
    if (name == "black") {
        return scheme(RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0), RGB(63, 242, 63),
                      RGB(26, 235, 255), RGB(0, 0, 0));
    }
    if (name == "white") {
        return scheme(RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 159), RGB(96, 0, 0),
                      RGB(55, 0, 110), RGB(255, 255, 255));
    }
    return {};
}

namespace {

void apply(const SystemColours& colours) {
    std::vector<int> indices;
    std::vector<COLORREF> values;
    for (const auto& [index, value] : colours) {
        indices.push_back(index);
        values.push_back(value);
    }
    if (!indices.empty()) {
        SetSysColors(static_cast<int>(indices.size()), indices.data(), values.data());
    }
}

} // namespace

SystemColoursScope::SystemColoursScope(const SystemColours& colours) {
    for (const auto& entry : colours) {
        saved_.emplace_back(entry.first, GetSysColor(entry.first));
    }
    apply(colours);
}

SystemColoursScope::~SystemColoursScope() {
    apply(saved_);
}

} // namespace acctree
