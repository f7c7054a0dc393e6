// A deliberately wrong source: the wide-text check must name its six ANSI names, and neither
// the look-alike names of our own nor a comment.
struct RGBA {
    int TChunkgAMA = COLOR_RGBALPHA;
};
void probe(HWND window, char* path, DWORD size) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("text"));
    GetModuleFileNameA(nullptr, path, size);
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    LOGFONTA font{};
    // SendMessageA in a comment line is not looked at.
}
