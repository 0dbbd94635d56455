// The module this code is loaded as: the DLL's handle, for its dialog
// templates and strings. Stored once by the library's entry point.
#pragma once

#include "platform/win32.h"

namespace lumacore {

HINSTANCE ModuleHandle();
void SetModuleHandle(HINSTANCE module);

}  // namespace lumacore
