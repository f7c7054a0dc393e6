#include "about/about_form.h"

#include "about/about_clock.h"
#include "about/about_placement.h"
#include "about/about_texts.h"
#include "app/description_file.h"
#include "app/platform_services.h"
#include "catalogue/program_directory.h"
#include "toolkit/application.h"

#include <memory>

namespace sc {

TFormAbout::TFormAbout(tk::TForm& owner, const ProductProfile& profile, PlatformServices& platform)
    : tk::TForm(&owner), profile_(profile), platform_(platform) {
    build(aboutFormDefinition());
}

void TFormAbout::FormCreate(tk::TObject&) {
    tk::TApplication& app = tk::Application();
    ProfileReader& profile = platform_.profileReader();
    const std::string directory = directoryPart(app.exeName());
    const std::string version = readDescriptionValue(profile, directory, "Version");
    const std::string company = readDescriptionValue(profile, directory, "Company");
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
    openWithShell(platform_.shell(), platform_, dynamic_cast<tk::TLabel&>(sender).caption());
}

void TFormAbout::LabelSupportEmailClick(tk::TObject& sender) {
    openWithShell(platform_.shell(), platform_,
                  supportMailTarget(dynamic_cast<tk::TLabel&>(sender).caption()));
}

void TFormAbout::ButtonUpdatesClick(tk::TObject&) {
    openWithShell(platform_.shell(), platform_, profile_.updatesAddress);
}

void TFormAbout::ImageLeftClick(tk::TObject&) {
    openWithShell(platform_.shell(), platform_, profile_.updatesAddress);
}

void showAboutWindow(tk::TForm& owner, const ProductProfile& profile, PlatformServices& platform) {
    auto about = std::make_unique<TFormAbout>(owner, profile, platform);
    const tk::Bounds main = owner.outerBounds();
    const tk::Bounds box = about->outerBounds();
    const WindowOrigin at =
        aboutOrigin(main.left, main.top, main.width, main.height, box.width, box.height);
    about->moveTo(at.left, at.top);
    about->ShowModal();
}

} // namespace sc
