#include "controls/theme_services.h"

#include <uxtheme.h>

#include <cwchar>
#include <cwctype>
#include <string_view>
#include <vector>

namespace sc::controls {

namespace {

// One answer of QueryActCtxW about `context` (null: the process's default context, which the
// executable's manifest makes) into `buffer`, grown as asked (within reason); false when none.
bool queryContext(HANDLE context, ULONG infoClass, void* subInstance,
                  std::vector<unsigned char>& buffer) {
    constexpr SIZE_T kLargest = 1 << 20;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SIZE_T needed = 0;
        if (QueryActCtxW(0, context, subInstance, infoClass, buffer.data(), buffer.size(),
                         &needed)) {
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size() ||
            needed > kLargest) {
            return false;
        }
        buffer.resize(needed);
    }
    return false;
}

// The thread's active activation context, released on scope exit; null when none is active
// (then the process's default one applies).
struct ActiveContext {
    HANDLE handle = nullptr;
    ActiveContext() {
        if (!GetCurrentActCtx(&handle)) {
            handle = nullptr;
        }
    }
    ActiveContext(const ActiveContext&) = delete;
    ActiveContext& operator=(const ActiveContext&) = delete;
    ~ActiveContext() {
        if (handle) {
            ReleaseActCtx(handle);
        }
    }
};

// An encoded assembly identity (name,key="value",...) naming the common controls at major
// version 6 or later.
bool isCommonControls6(std::wstring_view identity) {
    constexpr std::wstring_view name = L"Microsoft.Windows.Common-Controls,";
    if (identity.size() < name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (std::towlower(identity[i]) != std::towlower(name[i])) {
            return false;
        }
    }
    constexpr std::wstring_view versionKey = L"version=\"";
    std::size_t at = identity.find(versionKey);
    if (at == std::wstring_view::npos) {
        return false;
    }
    unsigned major = 0;
    bool digits = false;
    for (std::size_t i = at + versionKey.size(); i < identity.size() && major < 1000; ++i) {
        if (identity[i] < L'0' || identity[i] > L'9') {
            break;
        }
        major = major * 10 + static_cast<unsigned>(identity[i] - L'0');
        digits = true;
    }
    return digits && major >= 6;
}

class UxThemeServices : public ThemeServices {
  public:
    bool themesInUse() override {
        // The executable's manifest does not change while it runs.
        static const bool requested = commonControls6Requested();
        return requested && IsThemeActive() && IsAppThemed();
    }

    bool drawPart(HWND window, HDC dc, const wchar_t* themeClass, int part, int state,
                  const RECT& rect) override {
        // Opened per paint: a theme change never leaves a stale handle behind.
        HTHEME theme = OpenThemeData(window, themeClass);
        if (!theme) {
            return false;
        }
        if (IsThemeBackgroundPartiallyTransparent(theme, part, state)) {
            RECT area = rect;
            DrawThemeParentBackground(window, dc, &area);
        }
        HRESULT hr = DrawThemeBackground(theme, dc, part, state, &rect, nullptr);
        CloseThemeData(theme);
        return SUCCEEDED(hr);
    }
};

UxThemeServices platformServices;
ThemeServices* current = &platformServices;

} // namespace

bool commonControls6Requested() {
    const ActiveContext active;
    std::vector<unsigned char> buffer(1024);
    if (!queryContext(active.handle, ActivationContextDetailedInformation, nullptr, buffer)) {
        return false;
    }
    const DWORD count =
        reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(buffer.data())
            ->ulAssemblyCount;
    for (DWORD index = 1; index <= count && index < 4096; ++index) {
        DWORD subInstance = index;
        if (!queryContext(active.handle, AssemblyDetailedInformationInActivationContext,
                          &subInstance, buffer)) {
            continue;
        }
        const auto* assembly =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(
                buffer.data());
        const wchar_t* identity = assembly->lpAssemblyEncodedAssemblyIdentity;
        if (!identity) {
            continue;
        }
        std::size_t length = assembly->ulEncodedAssemblyIdentityLength / sizeof(wchar_t);
        if (length == 0) {
            length = wcsnlen(identity, 4096);
        }
        if (isCommonControls6({identity, length})) {
            return true;
        }
    }
    return false;
}

ThemeServices& themeServices() {
    return *current;
}

void setThemeServices(ThemeServices* services) {
    current = services ? services : &platformServices;
}

} // namespace sc::controls
