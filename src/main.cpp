// The start centre: start-up with its main window.
#include "Main/main_form.h"
#include "app/start_centre.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return sc::runStartCentre(sc::makeMainForm);
}
