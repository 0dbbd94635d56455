// The driver's About box.
#pragma once

#include "platform/win32.h"

namespace lumacore {

inline constexpr char kVersionFormat[] = "Lumacore Version %d.%d.%ld";
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 9;
inline constexpr long kVersionBuild = 18;

// Runs the About box modally over `parent`.
void ShowAboutBox(HWND parent);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace lumacore
