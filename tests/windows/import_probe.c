/* Linked against zlib's import library on purpose: the import check must reject it. */
#include <stdio.h>
#include <zlib.h>

int main(void) {
    printf("%s\n", zlibVersion());
    return 0;
}
