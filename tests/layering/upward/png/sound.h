#pragma once
// A header that includes only its own layer and the standard library.
#include <string>
#include "png/png_image.h"
