#include "utility/quicktime/qt_library.h"

#include <cstring>

#include "utility/quicktime/qt_paths.h"

namespace quicktime {

HMODULE QtLoadLibrary(const char* fileName) {
    char path[MAX_PATH];
    const std::size_t nameLength = std::strlen(fileName);
    if (nameLength + 1 >= sizeof path) return nullptr;
    // The folders are sized so that the file name always fits after them.
    const std::size_t folderSize = sizeof path - nameLength;

    if (!QtSystemDir(path, folderSize)) return nullptr;
    std::memcpy(path + std::strlen(path), fileName, nameLength + 1);
    if (HMODULE library = ::LoadLibraryA(path)) return library;

    if (QtExtensionDir(path, folderSize) == 0) return nullptr;
    std::memcpy(path + std::strlen(path), fileName, nameLength + 1);
    return ::LoadLibraryA(path);
}

}  // namespace quicktime
