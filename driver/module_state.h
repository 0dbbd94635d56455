// Values shared by every instance in the process.
#pragma once

#include "platform/win32.h"

namespace lumacore {

// The library's module handle, for loading dialog templates and strings.
HINSTANCE ModuleHandle();
void SetModuleHandle(HINSTANCE module);

// The normalised FourCC of the most recent open that came with open
// parameters; 0 before the first.
DWORD LastOpenedFourcc();
void SetLastOpenedFourcc(DWORD fourcc);

}  // namespace lumacore
