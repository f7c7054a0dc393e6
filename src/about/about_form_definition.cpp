#include "about/about_form.h"

#include "about/about_logo.h"
#include "about/about_texts.h"
#include "toolkit/screen.h"

namespace sc {

namespace {

using namespace tk;

ControlDefinition control(const char* name, ControlKind kind, const char* parent, Bounds bounds) {
    ControlDefinition c;
    c.name = name;
    c.kind = kind;
    c.parent = parent;
    c.bounds = bounds;
    return c;
}

ControlDefinition label(const char* name, const char* parent, Bounds bounds, std::string caption) {
    ControlDefinition c = control(name, ControlKind::label, parent, bounds);
    c.caption = std::move(caption);
    return c;
}

// A bold heading: "&" shown as it is, drawn on the sheet's background.
ControlDefinition heading(const char* name, const char* parent, Bounds bounds, std::string caption,
                          const FontSpec& font) {
    ControlDefinition c = label(name, parent, bounds, std::move(caption));
    c.font = font;
    c.font->style = fsBold;
    c.showAccelChar = false;
    c.transparent = true;
    return c;
}

// A link: blue (in a contrast theme the system's link colour) and underlined on the face
// colour, with the hand cursor.
ControlDefinition link(const char* name, Bounds bounds, const FontSpec& font,
                       void (TFormAbout::*handler)(TObject&)) {
    ControlDefinition c = label(name, "TabSheetAbout", bounds, "...");
    c.font = font;
    c.font->colour = clBlue;
    c.contrastFontColour = clHotLight;
    c.font->style = fsUnderline;
    c.colour = clBtnFace;
    c.cursor = tk::crHandPoint;
    c.events = {on("OnClick", handler)};
    return c;
}

} // namespace

tk::FormDefinition aboutFormDefinition() {
    FormDefinition d;
    d.name = "FormAbout";
    d.className = "TFormAbout";
    d.caption = "About";
    d.clientWidth = 523;
    d.clientHeight = 298;
    d.borderStyle = BorderStyle::single;
    d.borderIcons = biSystemMenu;
    d.position = FormPosition::designed;
    d.colour = clBtnFace;
    d.font = FontSpec{"Tahoma", -11, ANSI_CHARSET, clWindowText, 0};
    d.events = {on("OnCreate", &TFormAbout::FormCreate)};
    const FontSpec& font = d.font;

    ControlDefinition panelMain = control("PanelMain", ControlKind::panel, "", {});
    panelMain.align = Align::alClient;
    panelMain.bevelOuter = PanelBevel::bvNone;
    panelMain.borderWidth = 12;
    panelMain.colour = clBtnFace;

    ControlDefinition pages =
        control("PageControlMain", ControlKind::pageControl, "PanelMain", {200, 8, 305, 245});
    pages.tabOrder = 0;
    pages.activePage = "TabSheetAbout";

    ControlDefinition sheetAbout =
        control("TabSheetAbout", ControlKind::tabSheet, "PageControlMain", {});
    sheetAbout.caption = "About";

    ControlDefinition title =
        heading("LabalTitle", "TabSheetAbout", {16, 12, 265, 26}, "...", font);
    title.autoSize = false;
    title.wordWrap = true;

    ControlDefinition copyright =
        label("LabelCopyright", "TabSheetAbout", {16, 44, 0, 13}, std::string(kCopyrightTemplate));

    ControlDefinition sheetUpdate =
        control("TabSheetUpdate", ControlKind::tabSheet, "PageControlMain", {});
    sheetUpdate.caption = "Update";

    ControlDefinition group =
        control("GroupBoxPInfo", ControlKind::groupBox, "TabSheetUpdate", {16, 32, 275, 73});
    group.tabOrder = 1;

    ControlDefinition updates =
        control("ButtonUpdates", ControlKind::button, "TabSheetUpdate", {206, 184, 75, 25});
    updates.caption = "&Updates...";
    updates.tabOrder = 0;
    updates.events = {on("OnClick", &TFormAbout::ButtonUpdatesClick)};

    ControlDefinition ok =
        control("ButtonOK", ControlKind::button, "PanelMain", {438, 265, 75, 25});
    ok.caption = "&OK";
    ok.isDefault = true;
    ok.modalResult = 1;
    ok.tabOrder = 1;

    ControlDefinition logoPanel =
        control("PanelmageLeft", ControlKind::panel, "PanelMain", {12, 12, 175, 242});
    logoPanel.bevelInner = PanelBevel::bvRaised;
    logoPanel.bevelOuter = PanelBevel::bvLowered;
    logoPanel.colour = clWhite;
    logoPanel.contrastColour = clWindow;
    logoPanel.tabOrder = 2;

    // An image control that draws the logo scaled at DPIs other than 96.
    ControlDefinition logo = control("ImageLeft", ControlKind::custom, "PanelmageLeft", {});
    logo.create = [](TForm& form, const ControlDefinition& definition, int) {
        return std::unique_ptr<TControl>(std::make_unique<TAboutLogo>(form, definition));
    };
    logo.align = Align::alClient;
    logo.center = true;
    logo.cursor = tk::crHandPoint;
    logo.events = {on("OnClick", &TFormAbout::ImageLeftClick)};

    d.controls = {
        panelMain,
        pages,
        sheetAbout,
        title,
        copyright,
        label("LabelWebTitle", "TabSheetAbout", {16, 144, 46, 13}, "Web site:"),
        link("LabelWeb", {16, 160, 0, 13}, font, &TFormAbout::LabelWebClick),
        label("LabelSupport", "TabSheetAbout", {16, 176, 42, 13}, "Support:"),
        link("LabelSupportEmail", {16, 192, 0, 13}, font, &TFormAbout::LabelSupportEmailClick),
        sheetUpdate,
        heading("LabelPInfo", "TabSheetUpdate", {16, 12, 113, 13}, "Product information", font),
        group,
        label("LabelVersion", "GroupBoxPInfo", {12, 16, 16, 13}, "%s"),
        heading("LabelCheckTitle", "TabSheetUpdate", {16, 132, 96, 13}, "Check for update", font),
        label("LabelCheck", "TabSheetUpdate", {16, 152, 259, 26},
              "To ensure you're using the latest version, click on the \r\nUpdates button "
              "below."),
        updates,
        ok,
        logoPanel,
        logo,
    };
    return d;
}

} // namespace sc
