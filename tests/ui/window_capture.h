// Finding, reading and photographing the dialogs a test program opens.
#pragma once

#include <windows.h>

#include <string>

namespace ui_test {

// Waits up to `timeout_ms` for a visible top-level window with this caption
// in this process.
HWND WaitForWindow(const char* caption, DWORD timeout_ms);

std::string ControlText(HWND dialog, int id);

// Saves what the window shows (frame included) as a 24-bit BMP.
bool SaveWindowBitmap(HWND window, const std::string& path);

// Where screenshots go: $LUMACORE_TEST_OUTPUT, else the current folder.
std::string OutputPath(const char* file_name);

}  // namespace ui_test
