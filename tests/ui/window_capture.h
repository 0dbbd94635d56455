// Finding and reading the windows of a process, from any thread or process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ui_test {

// Wine hands window texts across processes in UTF-16, so the wide form is read.
inline std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    return std::string(text, text + std::max(GetWindowTextW(window, text, 512), 0));
}

// The visible top-level windows of process `pid`.
inline std::vector<HWND> Windows(DWORD pid) {
    std::vector<HWND> found;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window)) found.push_back(window);
    }
    return found;
}

template <typename Done>
bool WaitUntil(Done done, DWORD timeout_ms = 10000) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeout_ms) return false;
    return true;
}

// A window of process `pid` captioned `caption`; null when none came in time.
inline HWND WaitForWindow(DWORD pid, const char* caption, DWORD timeout_ms = 20000) {
    HWND found = nullptr;
    const auto seen = [&] {
        for (HWND window : Windows(pid)) found = WindowText(window) == caption ? window : found;
        return found != nullptr;
    };
    if (WaitUntil(seen, timeout_ms)) Sleep(300);  // let it finish painting
    return found;
}

}  // namespace ui_test
