#include "Main/main_form.h"

#include "Main/main_image_lists.h"
#include "png/png_image_list_loader.h"

namespace sc {

namespace {

// A glyph button with the stored properties of the definition and a picture of
// PngImageListButton; everything else keeps the class defaults. `opensMenu` tells screen readers
// that it opens a menu.
decltype(tk::ControlDefinition::create) glyphButton(int imageIndex, std::string hint,
                                                    bool opensMenu = false) {
    return [imageIndex, hint, opensMenu](tk::TForm& form, const tk::ControlDefinition& definition,
                                         int id) {
        auto button = std::make_unique<controls::TGlyphBitBtn>(form, definition, id);
        button->setImages(&form.component<tk::TCustomImageList>("PngImageListButton"));
        button->setImageIndex(imageIndex);
        if (!hint.empty()) {
            button->setHint(hint);
        }
        button->setOpensMenu(opensMenu);
        return std::unique_ptr<tk::TControl>(std::move(button));
    };
}

} // namespace

tk::FormDefinition mainFormDefinition() {
    using namespace tk;
    FormDefinition d;
    d.name = "MainForm";
    d.className = "TMainForm";
    d.clientWidth = 658;
    d.clientHeight = 478;
    d.borderStyle = BorderStyle::single;
    d.borderIcons = biSystemMenu | biMinimize;
    d.position = FormPosition::screenCenter;
    d.colour = clBtnFace;
    d.font = FontSpec{"Tahoma", -11, ANSI_CHARSET, clWindowText, 0};
    d.events = {on("OnCreate", &TMainForm::FormCreate), on("OnShow", &TMainForm::FormShow)};

    for (PngImageListDefinition& list : mainWindowImageLists()) {
        std::string name = list.name;
        d.components.push_back(
            {name, [stored = std::move(list)](TForm& form) -> std::unique_ptr<TComponent> {
                 return png::LoadPngImageList(stored, form.Dpi());
             }});
    }

    ControlDefinition bevel;
    bevel.name = "Bevel1";
    bevel.kind = ControlKind::bevel;
    bevel.bounds = {8, 424, 641, 9};
    bevel.bevelShape = BevelShape::topLine;

    ControlDefinition main;
    main.name = "ListBoxMain";
    main.kind = ControlKind::listBox;
    main.bounds = {8, 8, 169, 401};
    main.anchors = akLeft | akTop | akBottom;
    main.tabOrder = 0;
    main.ownerDrawFixed = true; // FormCreate's style: the native list is made once
    main.accessibleName = "Categories";
    main.events = {on("OnClick", &TMainForm::ListBoxMainClick),
                   on("OnDrawItem", &TMainForm::ListBoxMainDrawItem)};

    ControlDefinition data;
    data.name = "ListBoxData";
    data.kind = ControlKind::listBox;
    data.bounds = {184, 8, 466, 401};
    data.anchors = akLeft | akTop | akRight | akBottom;
    data.tabOrder = 1;
    data.ownerDrawFixed = true;
    data.accessibleName = "Tasks";
    data.events = {on("OnClick", &TMainForm::ListBoxDataClick),
                   on("OnDrawItem", &TMainForm::ListBoxDataDrawItem),
                   on("OnMouseMove", &TMainForm::ListBoxDataMouseMove)};

    ControlDefinition help;
    help.name = "ButtonHelp";
    help.kind = ControlKind::custom;
    help.create = glyphButton(0, "Help", true);
    help.bounds = {8, 432, 46, 42};
    help.tabOrder = 2;
    help.events = {on("OnClick", &TMainForm::ButtonHelpClick)};

    ControlDefinition ok;
    ok.name = "ButtonOK";
    ok.kind = ControlKind::custom;
    ok.create = glyphButton(1, "");
    ok.bounds = {568, 432, 81, 42};
    ok.tabOrder = 3;
    ok.caption = "&OK";
    ok.events = {on("OnClick", &TMainForm::ButtonOKClick)};

    d.controls = {bevel, main, data, help, ok};

    MenuItemDefinition web{
        "MenuItemOnTheWeb", "%s On the Web...", {on("OnClick", &TMainForm::MenuItemOnTheWebClick)}};
    MenuItemDefinition about{
        "MenuItemAbout", "A&bout %s...", {on("OnClick", &TMainForm::MenuItemAboutClick)}};
    d.menus = {{"PopupMenu", {web, about}}};
    return d;
}

} // namespace sc
