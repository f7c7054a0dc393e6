// The start centre's main window: categories on the left, their tasks on the right, the help
// button with its popup menu and the OK button.
#pragma once

#include "Main/draw_ops_win32.h"
#include "app/platform_services.h"
#include "app/product_profile.h"
#include "controls/glyph_button.h"
#include "png/png_image_list.h"
#include "toolkit/form.h"

#include <memory>

namespace sc {

class TMainForm : public tk::TForm {
  public:
    // Tasks, web site and About window go through `platform`, which outlives the window.
    explicit TMainForm(PlatformServices& platform);

    const ProductProfile& profile() const { return profile_; }

    tk::TListBox& ListBoxMain() const { return control<tk::TListBox>("ListBoxMain"); }
    tk::TListBox& ListBoxData() const { return control<tk::TListBox>("ListBoxData"); }
    controls::TGlyphBitBtn& ButtonHelp() const {
        return control<controls::TGlyphBitBtn>("ButtonHelp");
    }
    controls::TGlyphBitBtn& ButtonOK() const { return control<controls::TGlyphBitBtn>("ButtonOK"); }
    tk::TPopupMenu& PopupMenu() const { return menu("PopupMenu"); }
    png::TPngImageList& PngImageListMain() const {
        return component<png::TPngImageList>("PngImageListMain");
    }
    png::TPngImageList& PngImageListData() const {
        return component<png::TPngImageList>("PngImageListData");
    }
    png::TPngImageList& PngImageListButton() const {
        return component<png::TPngImageList>("PngImageListButton");
    }

    void FormCreate(tk::TObject& sender);
    void FormShow(tk::TObject& sender);
    void ListBoxMainClick(tk::TObject& sender);
    void ListBoxDataClick(tk::TObject& sender);
    void ListBoxMainDrawItem(tk::TObject& control, int index, const RECT& rect, unsigned state);
    void ListBoxDataDrawItem(tk::TObject& control, int index, const RECT& rect, unsigned state);
    void ListBoxDataMouseMove(tk::TObject& sender, unsigned shift, int x, int y);
    void ButtonHelpClick(tk::TObject& sender);
    void ButtonOKClick(tk::TObject& sender);
    void MenuItemOnTheWebClick(tk::TObject& sender);
    void MenuItemAboutClick(tk::TObject& sender);

  private:
    RowImageLists imageLists() const;

    PlatformServices& platform_;
    ProductProfile profile_;
};

// The main window over `platform`, as start-up makes it.
std::unique_ptr<tk::TForm> makeMainForm(PlatformServices& platform);

// The window's definition: its properties, controls, menu and event bindings.
tk::FormDefinition mainFormDefinition();

} // namespace sc
