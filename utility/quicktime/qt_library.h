// Loading QuickTime's library from the folders QuickTime is found in.
#pragma once

#include "platform/win32.h"

namespace quicktime {

// Loads `fileName` from QuickTime's system folder, else from its extension
// folder. Null when no folder is found or neither load works; nothing is
// loaded from the program's own search path.
HMODULE QtLoadLibrary(const char* fileName);

}  // namespace quicktime
