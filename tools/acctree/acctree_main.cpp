// acctree: what a screen reader gets from the start centre. Opens the real main window and
// About window in this process, as the program does (the product from lame.dll beside this
// program), and prints each window's accessible tree, one element a line.
//
//   acctree [--contrast black|white] [--photos FOLDER]
//
// --contrast switches the program's contrast-theme seam on and gives the desktop the system
// colours of the standard black or white contrast scheme until it ends; it then saves
// photographs of both windows (main-window-contrast-<scheme>.png, about-window-contrast-
// <scheme>.png) in FOLDER, by default the current folder.
#include "accessible_tree.h"
#include "contrast_scheme.h"

#include "Main/main_form.h"
#include "about/about_form.h"
#include "app/description_file.h"
#include "app/platform_services.h"
#include "catalogue/program_directory.h"
#include "png/png_picture_format_win32.h"
#include "png_writer.h"
#include "pointer.h"
#include "text/utf.h"
#include "toolkit/application.h"
#include "window_capture.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

struct Options {
    std::string scheme; // empty: the system's own colours
    std::string photos = ".";
};

std::optional<Options> parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contrast" && i + 1 < argc) {
            o.scheme = argv[++i];
            if (acctree::contrastScheme(o.scheme).empty()) {
                return std::nullopt;
            }
        } else if (arg == "--photos" && i + 1 < argc) {
            o.photos = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    return o;
}

// Handles messages until the queue has stayed empty for a while.
void settle() {
    for (int quiet = 0; quiet < 3;) {
        tk::Application().processMessages();
        quiet = MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT) == WAIT_TIMEOUT
                    ? quiet + 1
                    : 0;
    }
}

void print(const char* title, HWND window) {
    std::printf("%s\n", title);
    for (const acctree::AccessibleNode& node : acctree::accessibleTree(window)) {
        std::printf("%s\n", node.line().c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
}

bool photograph(HWND window, const Options& o, const char* which) {
    const std::string file = o.photos + "\\" + which + "-contrast-" + o.scheme + ".png";
    const auto shot = snapshot::captureClientArea(window);
    if (!shot || !snapshot::writePngFile(file, *shot)) {
        std::fprintf(stderr, "acctree: could not save %s\n", file.c_str());
        return false;
    }
    std::printf("photograph: %s\n\n", file.c_str());
    return true;
}

// Reads the About window from inside its modal loop, once it shows, and closes it.
struct AboutReader {
    static inline const Options* options = nullptr;
    static inline bool done = false;
    static inline bool photographed = true;
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        auto* about = dynamic_cast<sc::TFormAbout*>(
            tk::TForm::fromHandle(FindWindowW(L"TFormAbout", nullptr)));
        if (!about || !about->visible() || done) {
            return;
        }
        KillTimer(nullptr, id);
        done = true;
        settle();
        print("About window", about->handle());
        if (!options->scheme.empty()) {
            photographed = photograph(about->handle(), *options, "about-window");
        }
        about->setModalResult(tk::mrOk);
    }
};

int run(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: acctree [--contrast black|white] [--photos FOLDER]\n");
        return 2;
    }
    CoInitialize(nullptr);
    tk::TApplication& app = tk::Application();
    sc::PlatformServices platform;
    acctree::ContrastThemeOn contrastOn;
    std::unique_ptr<acctree::SystemColoursScope> colours;
    if (!options->scheme.empty()) {
        app.setDisplaySettings(&contrastOn);
        colours =
            std::make_unique<acctree::SystemColoursScope>(acctree::contrastScheme(options->scheme));
    }
    snapshot::parkPointer();

    // Start-up as the program does it, up to the first idle loop.
    app.screen().setCursorHandle(tk::crHandPoint, LoadCursorW(nullptr, IDC_HAND));
    app.setTitle(sc::readDescriptionValue(platform.profileReader(),
                                          sc::directoryPart(app.exeName()), "Name"));
    app.initialize();
    sc::png::TPngPictureFormat pngFormat;
    int status = 0;
    {
        sc::TMainForm main(platform);
        main.show();
        settle();
        print("Main window", main.handle());
        if (!options->scheme.empty() && !photograph(main.handle(), *options, "main-window")) {
            status = 1;
        }
        // The About window as its menu entry opens it.
        AboutReader::options = &*options;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &AboutReader::tick);
        main.PopupMenu().find("MenuItemAbout")->click();
        KillTimer(nullptr, timer);
        if (!AboutReader::done) {
            std::fprintf(stderr, "acctree: the About window did not open\n");
            status = 1;
        } else if (!AboutReader::photographed) {
            status = 1;
        }
    }
    colours.reset();
    app.setDisplaySettings(nullptr);
    CoUninitialize();
    return status;
}

} // namespace

// The arguments as the system holds them, in UTF-16, so that a photo folder's name arrives whole.
int wmain(int argc, wchar_t** argv) {
    return sc::text::runWithUtf8Arguments(argc, argv, run);
}
