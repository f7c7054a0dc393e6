// The About window: the product's title, version, copyright, web and support links and logo,
// and an Update tab. Built, filled, shown modally and freed at each opening.
#pragma once

#include "app/platform_services.h"
#include "app/product_profile.h"
#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/page_control.h"

namespace sc {

inline constexpr const char* kLogoFileName = "leftlogo.png";

class TFormAbout : public tk::TForm {
  public:
    // Owned by `owner`; the addresses come from `profile` and the description file is read and
    // the shell asked through `platform`, both of which outlive the window.
    TFormAbout(tk::TForm& owner, const ProductProfile& profile, PlatformServices& platform);

    tk::TPageControl& PageControlMain() const {
        return control<tk::TPageControl>("PageControlMain");
    }
    tk::TTabSheet& TabSheetAbout() const { return control<tk::TTabSheet>("TabSheetAbout"); }
    tk::TTabSheet& TabSheetUpdate() const { return control<tk::TTabSheet>("TabSheetUpdate"); }
    tk::TButton& ButtonOK() const { return control<tk::TButton>("ButtonOK"); }
    tk::TButton& ButtonUpdates() const { return control<tk::TButton>("ButtonUpdates"); }
    tk::TImage& ImageLeft() const { return control<tk::TImage>("ImageLeft"); }
    tk::TLabel& label(const char* labelName) const { return control<tk::TLabel>(labelName); }

    void FormCreate(tk::TObject& sender);
    void LabelWebClick(tk::TObject& sender);
    void LabelSupportEmailClick(tk::TObject& sender);
    void ButtonUpdatesClick(tk::TObject& sender);
    void ImageLeftClick(tk::TObject& sender);

  private:
    const ProductProfile& profile_;
    PlatformServices& platform_;
};

// The window's definition: its properties, controls and event bindings.
tk::FormDefinition aboutFormDefinition();

// Opens the About window over `owner`: creates it, centres it on the owner, shows it modally
// and frees it, on every path.
void showAboutWindow(tk::TForm& owner, const ProductProfile& profile, PlatformServices& platform);

} // namespace sc
