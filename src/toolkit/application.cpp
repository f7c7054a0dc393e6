#include "toolkit/application.h"

#include "toolkit/form.h"
#include "toolkit/platform_services.h"
#include "toolkit/window_text.h"

#include "text/utf.h"

#include <commctrl.h>

#include <algorithm>

namespace tk {

namespace {

constexpr const wchar_t* kApplicationClass = L"TApplication";
// The most characters a read of the title gives.
constexpr std::size_t kTitleLength = 255;

LRESULT CALLBACK ApplicationWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

TApplication::TApplication()
    : platformErrors_(std::make_unique<MessageBoxErrorPresenter>()),
      platformDpi_(std::make_unique<Win32DpiService>()),
      platformDisplay_(std::make_unique<Win32DisplaySettings>()), errors_(platformErrors_.get()),
      dpi_(platformDpi_.get()), display_(platformDisplay_.get()) {}

TApplication::~TApplication() {
    if (handle_) {
        live::DestroyWindow(handle_);
    }
}

HWND TApplication::handle() {
    if (!handle_) {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ApplicationWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kApplicationClass;
        RegisterClassExW(&wc);
        // Never shown: it only keeps the title and owns what the shell opens.
        handle_ = live::CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationClass, L"", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, instance, nullptr);
    }
    return handle_;
}

std::string TApplication::title() {
    // Counted in UTF-16 units as the platform counts them; a surrogate pair is never parted.
    return sc::text::cutToUtf16Units(windowText(handle()), kTitleLength);
}

void TApplication::setTitle(const std::string& title) {
    setWindowText(handle(), title);
}

std::string TApplication::exeName() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return sc::text::toUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

void TApplication::initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    handle();
}

void TApplication::terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::formCreated(TForm& form) {
    forms_.push_back(&form);
    if (!mainForm_) {
        mainForm_ = &form;
    }
}

void TApplication::formDestroyed(TForm& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    if (mainForm_ == &form) {
        mainForm_ = nullptr;
    }
}

namespace {

// What the focused window asks for itself (WM_GETDLGCODE), for a key or character message.
LRESULT dialogCode(const MSG& msg) {
    HWND focus = GetFocus();
    if (!focus) {
        return 0;
    }
    MSG copy = msg;
    return SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
}

// Enter and Esc that the focused control does not use, and typed characters that may be
// accelerators, go to the form's controls first (default, cancel and accelerator buttons).
bool offerDialogKey(TForm& form, const MSG& msg) {
    if (msg.hwnd != form.handle() && !IsChild(form.handle(), msg.hwnd)) {
        return false;
    }
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        if (dialogCode(msg) & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) {
            return false;
        }
        return form.dialogKey(msg.wParam, msg.lParam);
    }
    if (msg.message == WM_SYSCHAR ||
        (msg.message == WM_CHAR && !(dialogCode(msg) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))) {
        return form.dialogChar(msg.wParam, msg.lParam);
    }
    return false;
}

} // namespace

bool TApplication::dispatch(MSG& msg) {
    HWND active = GetActiveWindow();
    auto form =
        std::find_if(forms_.begin(), forms_.end(), [&](TForm* f) { return f->handle() == active; });
    bool ours = form != forms_.end();
    if (ours && offerDialogKey(**form, msg)) {
        return true;
    }
    // Tab and the dialog keys move between the controls of the active form.
    if (ours && IsDialogMessageW(active, &msg)) {
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::run() {
    try {
        if (mainForm_) {
            mainForm_->show();
        }
    } catch (const std::exception& e) {
        handleException(e);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        try {
            dispatch(msg);
        } catch (const std::exception& e) {
            handleException(e);
        }
    }
    terminated_ = true;
}

void TApplication::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatch(msg);
    }
}

void TApplication::handleException(const std::exception& e) {
    // Owned by the active form (a modal one keeps its owner disabled), else the main
    // form, else the hidden application window.
    HWND active = GetActiveWindow();
    bool ours = IsWindowVisible(active) && std::any_of(forms_.begin(), forms_.end(), [&](TForm* f) {
                    return f->handle() == active;
                });
    HWND owner =
        ours ? active : (mainForm_ && mainForm_->visible() ? mainForm_->handle() : handle());
    errors_->showError(owner, title(), e.what());
}

void TApplication::handlePaintException(const std::exception& e) {
    if (paintDepth_ > 0) {
        if (pendingPaintError_.empty()) {
            pendingPaintError_ = e.what();
        }
        return;
    }
    showPaintError(e.what());
}

void TApplication::showPaintError(const std::string& text) {
    if (showingPaintError_) {
        return;
    }
    showingPaintError_ = true;
    try {
        HWND owner = mainForm_ && mainForm_->visible() ? mainForm_->handle() : handle();
        errors_->showError(owner, title(), text);
    } catch (...) {
        showingPaintError_ = false;
        throw;
    }
    showingPaintError_ = false;
}

PaintErrorScope::PaintErrorScope() {
    ++Application().paintDepth_;
}

PaintErrorScope::~PaintErrorScope() {
    TApplication& app = Application();
    if (--app.paintDepth_ > 0 || app.pendingPaintError_.empty()) {
        return;
    }
    std::string text = std::move(app.pendingPaintError_);
    app.pendingPaintError_.clear();
    try {
        app.showPaintError(text);
    } catch (...) { // a destructor lets nothing out; the dialog itself failed
    }
}

void TApplication::setErrorPresenter(ErrorPresenter* presenter) {
    errors_ = presenter ? presenter : platformErrors_.get();
}

void TApplication::setDpiService(DpiService* service) {
    dpi_ = service ? service : platformDpi_.get();
}

void TApplication::setDisplaySettings(DisplaySettings* settings) {
    display_ = settings ? settings : platformDisplay_.get();
}

void TApplication::reset() {
    MSG pending;
    while (PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    terminated_ = false;
    setTitle("");
    screen_.setCursor(crDefault);
}

} // namespace tk
