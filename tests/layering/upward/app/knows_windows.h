#pragma once
// A deliberately wrong header: start-up must not name the main window itself.
#include "Main/main_form.h"
