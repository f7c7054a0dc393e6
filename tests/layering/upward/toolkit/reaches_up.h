#pragma once
// A deliberately wrong header: the layering check must reject it.
#include "app/description_file.h"
