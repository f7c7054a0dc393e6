#include "app/start_centre.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return sc::runStartCentre();
}
