#pragma once
// The About window in-process: the main window started as the program starts it, the About
// window opened from its popup entry and driven from inside its modal loop; the shell, the
// description file, the clock and the error dialog are doubles.
#include "Main/main_form.h"
#include "about/about_clock.h"
#include "about/about_form.h"
#include "app/description_file.h"
#include "app/product_profile.h"
#include "catalogue/program_directory.h"
#include "png/png_picture_format_win32.h"
#include "png_writer.h"
#include "pointer.h"
#include "support/fake_profile_reader.h"
#include "support/gui_pump.h"
#include "support/inside_modal.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"
#include "toolkit/picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace sc {

class FixedYear : public YearClock {
  public:
    int currentYear() const override { return 2031; }
};

using RecordingErrors = test::RecordingErrorPresenter;
using test::InsideModal;

class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::TApplication& app = tk::Application();
        app.reset();
        app.setShellService(&shell);
        app.setErrorPresenter(&errors);
        app.setProfileReader(&profile);
        setAboutClock(&year);
        directory = directoryPart(app.exeName());
        setDescription("4.2.0.118", "Fernhollow Media Ltd.");
        removeLogo();
        ASSERT_TRUE(snapshot::parkPointer());
        app.setTitle("Quillmark");
        app.initialize();
        main = std::make_unique<TMainForm>();
        main->show();
        test::pumpUntilIdle();
    }
    void TearDown() override {
        main.reset();
        test::pumpUntilIdle(10, 500);
        removeLogo();
        tk::TApplication& app = tk::Application();
        app.reset();
        app.setShellService(nullptr);
        app.setErrorPresenter(nullptr);
        app.setProfileReader(nullptr);
        setAboutClock(nullptr);
    }

    void setDescription(const std::string& version, const std::string& company) {
        const std::string path = descriptionFilePath(directory);
        profile.set(path, "SYSTEM", "Version", version);
        profile.set(path, "SYSTEM", "Company", company);
    }
    std::string logoPath() const { return directory + "leftlogo.png"; }
    void removeLogo() const { DeleteFileA(logoPath().c_str()); }
    // What the picture holder itself says about the logo file as it is now.
    std::string loadFailure() const {
        try {
            tk::TPicture picture;
            picture.LoadFromFile(logoPath());
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
    void writeLogo(const std::string& bytes) const {
        std::ofstream(logoPath(), std::ios::binary | std::ios::trunc) << bytes;
    }
    void writeLogo(const snapshot::RgbImage& image) const {
        ASSERT_TRUE(snapshot::writePngFile(logoPath(), image));
    }

    ShellRequest request(const std::string& target) const {
        ShellRequest r;
        r.owner = tk::Application().ownerWindow();
        r.verb = "open";
        r.file = target;
        r.showCommand = 10;
        return r;
    }

    // A left click at the middle of a windowless control, on its parent's surface.
    static void clickOn(const tk::TControl& c) {
        test::clickAt(c.parentHandle(), c.left() + c.width() / 2, c.top() + c.height() / 2);
    }

    png::TPngPictureFormat pngFormat;
    const BrandRow& brand = brandTable()[0];
    test::RecordingShellService shell{&tk::Application().busyCursor()};
    test::FakeProfileReader profile;
    RecordingErrors errors;
    FixedYear year;
    std::string directory;
    std::unique_ptr<TMainForm> main;
};

} // namespace sc
