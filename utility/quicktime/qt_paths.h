// Where QuickTime's library may be: the folder of an already loaded copy,
// the folders QuickTime's installer records in the registry, and the Windows
// system directory. Every path returned ends in a separator, and every buffer
// is written within its size and always terminated.
#pragma once

#include <cstddef>

namespace quicktime {

constexpr char kQtRegistryKey[] = "Software\\Apple Computer, Inc.\\QuickTime";
constexpr char kQtLibraryName[] = "QuickTime.qts";

// Reads a string value of QuickTime's key under HKEY_LOCAL_MACHINE into
// `buffer` and gives it a trailing separator. Returns its length; 0 (and an
// empty buffer) when the value is missing, empty, or does not fit with its
// separator and terminator.
std::size_t ReadQtRegistryPath(const char* valueName, char* buffer, std::size_t size);

// QuickTime's system folder: that of an already loaded QuickTime.qts, else
// the first existing folder of "QTSysDir", "QuickTime.qts folder" and the
// Windows system directory. False (and an empty buffer) when none is found.
bool QtSystemDir(char* buffer, std::size_t size);

// QuickTime's extension folder: "QTExtDir", else QuickTime's system folder,
// with "QuickTime\" appended when that is the Windows system directory.
// Returns the path's length, 0 when there is none.
std::size_t QtExtensionDir(char* buffer, std::size_t size);

}  // namespace quicktime
