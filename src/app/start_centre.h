// The start-up sequence of the start centre.
#pragma once

#include "app/platform_services.h"
#include "toolkit/form.h"

#include <memory>

namespace sc {

// Makes the program's main window over the platform services.
using MainWindowMaker = std::unique_ptr<tk::TForm> (*)(PlatformServices& platform);

// Installs the system's link hand, reads the product name from the description file beside the
// executable, makes it the application title, creates the main window with `makeMainWindow`
// and runs the message loop until the program ends. Returns the process exit code.
int runStartCentre(MainWindowMaker makeMainWindow);

} // namespace sc
