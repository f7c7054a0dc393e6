// The application object: the program's one hidden application window (which keeps the title),
// the screen, the platform services of the windows and the message loop.
#pragma once

#include "toolkit/display_settings.h"
#include "toolkit/dpi_service.h"
#include "toolkit/screen.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class TForm;

// How a failure that leaves an event handler is shown to the user.
class ErrorPresenter {
  public:
    virtual ~ErrorPresenter() = default;
    virtual void showError(HWND owner, const std::string& caption, const std::string& text) = 0;
};

class TApplication {
  public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The hidden application window; owner of the shell's windows.
    HWND handle();
    // The title is kept as the application window's text: reading it gives at most 255
    // characters, counted in UTF-16 units, without parting a surrogate pair.
    std::string title();
    void setTitle(const std::string& title);
    // The full path of the executable.
    std::string exeName() const;

    void initialize();
    // Asks the message loop to end: posts the quit request and returns.
    void terminate();
    bool terminated() const { return terminated_; }

    // Makes the main form visible, then runs the message loop until the quit request.
    void run();
    // Handles what is waiting in the queue and returns (for tests and busy loops).
    void processMessages();
    // Handles one message as the loop does: dialog keys of the active form, then the window.
    void dispatchMessage(MSG& msg) { dispatch(msg); }

    TForm* mainForm() const { return mainForm_; }
    void formCreated(TForm& form);
    void formDestroyed(TForm& form);

    // The toolkit's error dialog: a message box with the title as caption and the error icon.
    void handleException(const std::exception& e);
    // A failure that left a paint or draw-item handler. Inside a PaintErrorScope only the first
    // one is kept and shown when the outermost scope ends (after the paint has validated the
    // window); a failure met while a paint failure is being shown is dropped, so the error
    // dialog cannot set off a chain of repaints and dialogs.
    void handlePaintException(const std::exception& e);

    TScreen& screen() { return screen_; }

    // Platform services; tests put doubles in their place.
    void setErrorPresenter(ErrorPresenter* presenter);
    DpiService& dpi() { return *dpi_; }
    void setDpiService(DpiService* service);
    DisplaySettings& display() { return *display_; }
    void setDisplaySettings(DisplaySettings* settings);

    // Back to the state of a fresh start (for in-process tests that start several times).
    void reset();

  private:
    friend class PaintErrorScope;
    void showPaintError(const std::string& text);
    int paintDepth_ = 0;
    bool showingPaintError_ = false;
    std::string pendingPaintError_;

    bool dispatch(MSG& msg);

    HWND handle_ = nullptr;
    TScreen screen_;
    std::unique_ptr<ErrorPresenter> platformErrors_;
    std::unique_ptr<DpiService> platformDpi_;
    std::unique_ptr<DisplaySettings> platformDisplay_;
    ErrorPresenter* errors_;
    DpiService* dpi_;
    DisplaySettings* display_;
    std::vector<TForm*> forms_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

// The one application object of the program.
TApplication& Application();

// Collects the paint failures of one paint and reports the first after it (see
// TApplication::handlePaintException). Declare it before the BeginPaint/EndPaint pair.
class PaintErrorScope {
  public:
    PaintErrorScope();
    ~PaintErrorScope();
    PaintErrorScope(const PaintErrorScope&) = delete;
    PaintErrorScope& operator=(const PaintErrorScope&) = delete;
};

// BeginPaint and, on every path, EndPaint.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

} // namespace tk
