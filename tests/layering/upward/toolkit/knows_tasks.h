#pragma once
// A deliberately wrong header: the toolkit must not know the catalogue's tasks.
#include "catalogue/shell_request.h"
