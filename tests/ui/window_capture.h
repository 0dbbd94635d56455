// Finding, reading and photographing the windows of a process, from any
// thread or process.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace ui_test {

// Wine hands window texts across processes in UTF-16, so the wide form is read.
inline std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    return std::string(text, text + std::max(GetWindowTextW(window, text, 512), 0));
}

// The visible top-level windows of process `pid`.
inline std::vector<HWND> Windows(DWORD pid) {
    std::pair<DWORD, std::vector<HWND>> search{pid, {}};
    EnumWindows([](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.first && IsWindowVisible(window)) s.second.push_back(window);
        return TRUE;
    }, LPARAM(&search));
    return search.second;
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

// Saves what the screen shows of the window, brought to the top, as a 24-bit
// BMP named `file_name` in $LUMACORE_TEST_OUTPUT.
inline bool SaveWindowBitmap(HWND window, const char* file_name) {
    RECT r;
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return false;
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(200);
    BITMAPINFOHEADER bi{sizeof bi, r.right - r.left, r.bottom - r.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bi.biSizeImage = ((DWORD(bi.biWidth) * 3 + 3) & ~3u) * DWORD(bi.biHeight);
    void* pixels = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, bi.biWidth, bi.biHeight, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof bi;
    const BITMAPFILEHEADER bf{0x4D42, offset + bi.biSizeImage, 0, 0, offset};
    const char* dir = std::getenv("LUMACORE_TEST_OUTPUT");
    FILE* f = pixels ? std::fopen(((dir && *dir ? std::string(dir) + "\\" : "") + file_name).c_str(), "wb") : nullptr;
    bool saved = f && std::fwrite(&bf, sizeof bf, 1, f) && std::fwrite(&bi, sizeof bi, 1, f) &&
                 std::fwrite(pixels, bi.biSizeImage, 1, f);
    if (f && std::fclose(f) != 0) saved = false;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace ui_test
