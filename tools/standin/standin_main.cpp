// A stand-in for one of the suite's task programs. The start centre starts the task programs
// that lie beside it; this program takes the place of any of them. It notes its start in
// "standin.log" beside itself and shows which task program it stands for. With a file
// "standin.autoclose" beside it, it closes itself after about a second (for tests).
#include "standin_log.h"
#include "standin_roles.h"

#include <windows.h>

#include <string>

namespace {

constexpr int kIdText = 100;
constexpr UINT_PTR kAutoCloseTimer = 1;
constexpr UINT kAutoCloseMs = 1000;
constexpr int kClientWidth = 420;
constexpr int kClientHeight = 150;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

HFONT g_font = nullptr;

// Full path of this executable; empty if it cannot be found out.
std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (path.size() <= 32768) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return {};
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void layout(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    const int buttonTop = rc.bottom - kMargin - kButtonHeight;
    MoveWindow(GetDlgItem(window, kIdText), kMargin, kMargin, rc.right - 2 * kMargin,
               buttonTop - 2 * kMargin, TRUE);
    MoveWindow(GetDlgItem(window, IDCANCEL), rc.right - kMargin - kButtonWidth, buttonTop,
               kButtonWidth, kButtonHeight, TRUE);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            DestroyWindow(window);
        }
        return 0;
    case WM_TIMER:
        if (wParam == kAutoCloseTimer) {
            KillTimer(window, kAutoCloseTimer);
            DestroyWindow(window);
        }
        return 0;
    case WM_SIZE:
        layout(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HFONT messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }
    return nullptr;
}

HWND createWindow(HINSTANCE instance, const std::wstring& fileName, const wchar_t* role) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32516));     // IDI_INFORMATION
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"StartCentreStandIn";
    RegisterClassExW(&wc);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const std::wstring caption = fileName + L" (stand-in)";
    HWND window = CreateWindowExW(0, wc.lpszClassName, caption.c_str(), style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) {
        return nullptr;
    }

    const std::wstring text =
        std::wstring(L"Stand-in for ") + (role ? role : L"a task program") + L"\r\n\r\n" +
        fileName +
        L" is a stand-in of the suite's task program of that name. It only notes that it was "
        L"started, in standin.log beside it, and does nothing else.";
    HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0,
                                 0, 0, window, reinterpret_cast<HMENU>(kIdText), instance, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"Close",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                  window, reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr);
    g_font = messageFont();
    if (g_font) {
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
    }
    layout(window);
    return window;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::wstring path = modulePath();
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring directory = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    const std::wstring fileName = slash == std::wstring::npos ? path : path.substr(slash + 1);

    standin::appendLine(directory + L"standin.log", fileName);

    HWND window = createWindow(instance, fileName, standin::roleOf(fileName.c_str()));
    if (!window) {
        return 1;
    }
    if (fileExists(directory + L"standin.autoclose")) {
        SetTimer(window, kAutoCloseTimer, kAutoCloseMs, nullptr);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetFocus(GetDlgItem(window, IDCANCEL));

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (g_font) {
        DeleteObject(g_font);
    }
    return 0;
}
