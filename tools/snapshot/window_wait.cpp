#include "window_wait.h"

#include "text/utf.h"

#include <array>

namespace snapshot {
namespace {

struct Search {
    const WindowQuery* query;
    HWND found;
};

bool matches(HWND window, const WindowQuery& query) {
    if (!IsWindowVisible(window)) {
        return false;
    }
    if (query.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query.processId) {
            return false;
        }
    }
    std::array<wchar_t, 512> text{};
    auto read = [&](int n) {
        return sc::text::toUtf8(std::wstring_view(text.data(), n > 0 ? std::size_t(n) : 0));
    };
    if (query.className) {
        const int n = GetClassNameW(window, text.data(), static_cast<int>(text.size()));
        if (n <= 0 || *query.className != read(n)) {
            return false;
        }
    }
    if (query.title) {
        const int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        if (*query.title != read(n)) {
            return false;
        }
    }
    return true;
}

BOOL CALLBACK visitTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (matches(window, *search->query)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK visitChild(HWND child, LPARAM context) {
    if (GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(context) = false;
        return FALSE;
    }
    return TRUE;
}

DWORD remainingMs(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

// Returns once the window's thread has handled a message sent now, i.e. everything before it.
bool roundTrip(HWND window, ULONGLONG deadline) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, remainingMs(deadline),
                               &ignored) != 0;
}

} // namespace

HWND findTopLevelWindow(const WindowQuery& query) {
    Search search{&query, nullptr};
    EnumWindows(visitTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForTopLevelWindow(const WindowQuery& query, ULONGLONG deadline) {
    for (;;) {
        if (HWND window = findTopLevelWindow(query)) {
            return window;
        }
        if (GetTickCount64() >= deadline) {
            return nullptr;
        }
        Sleep(1);
    }
}

bool hasNoPendingPaint(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    bool clean = true;
    EnumChildWindows(window, visitChild, reinterpret_cast<LPARAM>(&clean));
    return clean;
}

bool waitUntilPainted(HWND window, ULONGLONG deadline) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
        const DWORD idle = WaitForInputIdle(process, remainingMs(deadline));
        CloseHandle(process);
        if (idle == WAIT_TIMEOUT) {
            return false;
        }
    }
    int cleanChecks = 0;
    while (cleanChecks < 2) {
        if (!IsWindow(window) || !roundTrip(window, deadline)) {
            return false;
        }
        if (hasNoPendingPaint(window)) {
            ++cleanChecks;
            continue;
        }
        cleanChecks = 0;
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

} // namespace snapshot
