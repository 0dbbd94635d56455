// Values shared by every instance in the process.
#pragma once

#include "platform/win32.h"

namespace lumacore {

// The normalised FourCC of the most recent open that came with open
// parameters; 0 before the first.
DWORD LastOpenedFourcc();
void SetLastOpenedFourcc(DWORD fourcc);

}  // namespace lumacore
