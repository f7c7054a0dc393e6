#include "about/about_form.h"

#include "about/about_clock.h"
#include "about/about_placement.h"
#include "about/about_texts.h"
#include "app/description_file.h"
#include "catalogue/program_directory.h"
#include "catalogue/shell_request.h"
#include "toolkit/application.h"

#include <memory>

namespace sc {

TFormAbout::TFormAbout(tk::TForm& owner, const ProductProfile& profile)
    : tk::TForm(&owner), profile_(profile) {
    build(aboutFormDefinition(), handlers());
}

tk::HandlerTable TFormAbout::handlers() {
    tk::HandlerTable h;
    auto notify = [this](void (TFormAbout::*method)(tk::TObject&)) {
        return [this, method](tk::TObject& sender) { (this->*method)(sender); };
    };
    h.notify["FormCreate"] = notify(&TFormAbout::FormCreate);
    h.notify["LabelWebClick"] = notify(&TFormAbout::LabelWebClick);
    h.notify["LabelSupportEmailClick"] = notify(&TFormAbout::LabelSupportEmailClick);
    h.notify["ButtonUpdatesClick"] = notify(&TFormAbout::ButtonUpdatesClick);
    h.notify["ImageLeftClick"] = notify(&TFormAbout::ImageLeftClick);
    return h;
}

void TFormAbout::FormCreate(tk::TObject&) {
    tk::TApplication& app = tk::Application();
    const std::string directory = directoryPart(app.exeName());
    const std::string version = readDescriptionValue(app.profileReader(), directory, "Version");
    const std::string company = readDescriptionValue(app.profileReader(), directory, "Company");
    const int year = aboutClock().currentYear();

    tk::TLabel& copyright = label("LabelCopyright");
    const AboutTexts texts = aboutTexts(app.title(), version, company, year, copyright.caption());
    setCaption(texts.caption);
    label("LabalTitle").setCaption(texts.titleLine);
    copyright.setCaption(texts.copyrightLine);
    label("LabelVersion").setCaption(texts.versionLabel);
    label("LabelWeb").setCaption(profile_.webSiteAddress);
    label("LabelSupportEmail").setCaption(profile_.supportAddress);

    ImageLeft().setAccessibleName(app.title());
    // Last: a missing or broken logo leaves the window filled, without a picture.
    ImageLeft().Picture().LoadFromFile(joinPath(directory, kLogoFileName));
}

void TFormAbout::LabelWebClick(tk::TObject& sender) {
    tk::TApplication& app = tk::Application();
    openWithShell(app.shell(), app, dynamic_cast<tk::TLabel&>(sender).caption());
}

void TFormAbout::LabelSupportEmailClick(tk::TObject& sender) {
    tk::TApplication& app = tk::Application();
    openWithShell(app.shell(), app, supportMailTarget(dynamic_cast<tk::TLabel&>(sender).caption()));
}

void TFormAbout::ButtonUpdatesClick(tk::TObject&) {
    tk::TApplication& app = tk::Application();
    openWithShell(app.shell(), app, profile_.updatesAddress);
}

void TFormAbout::ImageLeftClick(tk::TObject&) {
    tk::TApplication& app = tk::Application();
    openWithShell(app.shell(), app, profile_.updatesAddress);
}

void showAboutWindow(tk::TForm& owner, const ProductProfile& profile) {
    auto about = std::make_unique<TFormAbout>(owner, profile);
    const tk::Bounds main = owner.outerBounds();
    const tk::Bounds box = about->outerBounds();
    const WindowOrigin at =
        aboutOrigin(main.left, main.top, main.width, main.height, box.width, box.height);
    about->moveTo(at.left, at.top);
    about->ShowModal();
}

} // namespace sc
