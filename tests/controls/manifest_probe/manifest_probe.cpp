// A program whose manifest asks for common controls 6: prints whether the glyph buttons'
// theme seam sees that request in the process's default activation context.
#include "controls/theme_services.h"

#include <cstdio>

int main() {
    std::printf("common controls 6 requested: %s\n",
                sc::controls::commonControls6Requested() ? "yes" : "no");
    return 0;
}
