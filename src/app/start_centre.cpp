#include "app/start_centre.h"

#include "app/description_file.h"
#include "catalogue/program_directory.h"
#include "png/png_picture_format_win32.h"
#include "toolkit/application.h"
#include "toolkit/startup_marks.h"

namespace sc {

int runStartCentre(MainWindowMaker makeMainWindow) {
    tk::TApplication& app = tk::Application();
    PlatformServices platform;
    app.screen().setCursorHandle(tk::crHandPoint, LoadCursorW(nullptr, IDC_HAND));
    std::string name =
        readDescriptionValue(platform.profileReader(), directoryPart(app.exeName()), "Name");
    app.setTitle(name);
    app.initialize();
    sc::png::TPngPictureFormat pngFormat;
    tk::startupMark("toolkit and title");
    const std::unique_ptr<tk::TForm> mainForm = makeMainWindow(platform);
    app.run();
    return 0;
}

} // namespace sc
