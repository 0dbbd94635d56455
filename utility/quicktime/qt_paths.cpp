#include "utility/quicktime/qt_paths.h"

#include <io.h>

#include <cstring>

#include "platform/win32.h"

namespace quicktime {
namespace {

constexpr char kSubfolder[] = "QuickTime\\";
constexpr std::size_t kSubfolderLength = sizeof kSubfolder - 1;
constexpr std::size_t kLibraryNameLength = sizeof kQtLibraryName - 1;

bool EndsInSeparator(const char* path, std::size_t length) {
    return length > 0 && (path[length - 1] == '\\' || path[length - 1] == '/');
}

// Gives a non-empty path its trailing separator. A path with no room left for
// it is dropped: a shortened path would name some other folder.
std::size_t FinishPath(char* buffer, std::size_t size) {
    std::size_t length = std::strlen(buffer);
    if (length == 0 || EndsInSeparator(buffer, length)) return length;
    if (length + 2 > size) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[length++] = '\\';
    buffer[length] = '\0';
    return length;
}

// The Windows system directory, or an empty buffer when it does not fit.
std::size_t SystemDirectory(char* buffer, std::size_t size) {
    buffer[0] = '\0';
    const UINT length = ::GetSystemDirectoryA(buffer, UINT(size));
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
        return 0;
    }
    return length;
}

// Keeps a candidate folder only when it exists.
bool KeepIfExists(char* buffer) {
    if (buffer[0] && _access(buffer, 0) == 0) return true;
    buffer[0] = '\0';
    return false;
}

// The folder of a QuickTime.qts already loaded in this process, if any.
bool LoadedLibraryDir(char* buffer, std::size_t size) {
    HMODULE loaded = ::GetModuleHandleA(kQtLibraryName);
    if (!loaded) return false;
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(loaded, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;  // a cut-off name is no path
    if (length <= kLibraryNameLength) return false;
    const std::size_t n = length - kLibraryNameLength;
    if (size <= n + 1) return false;
    std::memcpy(buffer, path, n);
    buffer[n] = '\0';
    return true;
}

}  // namespace

std::size_t ReadQtRegistryPath(const char* valueName, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kQtRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    DWORD bytes = DWORD(size);
    const LONG status = ::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes);
    ::RegCloseKey(key);
    // A value need not be stored with its terminator: one that fills the
    // buffer without it does not fit.
    if (status != ERROR_SUCCESS || bytes > size) {
        buffer[0] = '\0';
        return 0;
    }
    const std::size_t length = strnlen(buffer, bytes);
    if (length == size) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[length] = '\0';
    return FinishPath(buffer, size);
}

bool QtSystemDir(char* buffer, std::size_t size) {
    if (!buffer || size == 0) return false;
    buffer[0] = '\0';
    if (!LoadedLibraryDir(buffer, size)) {
        ReadQtRegistryPath("QTSysDir", buffer, size);
        if (!KeepIfExists(buffer)) {
            ReadQtRegistryPath("QuickTime.qts folder", buffer, size);
            if (!KeepIfExists(buffer)) {
                SystemDirectory(buffer, size);
                KeepIfExists(buffer);
            }
        }
    }
    return FinishPath(buffer, size) > 0;
}

std::size_t QtExtensionDir(char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    if (const std::size_t length = ReadQtRegistryPath("QTExtDir", buffer, size)) return length;
    buffer[0] = '\0';
    // Both folders leave room for the subfolder name.
    if (size <= kSubfolderLength + 1) return 0;
    const std::size_t limit = size - kSubfolderLength;
    char system[MAX_PATH + kSubfolderLength];
    if (limit > sizeof system) return 0;
    if (SystemDirectory(system, limit)) FinishPath(system, limit);
    if (!QtSystemDir(buffer, limit)) return 0;
    std::size_t length = std::strlen(buffer);
    if (system[0] && std::strcmp(buffer, system) == 0) {
        std::memcpy(buffer + length, kSubfolder, kSubfolderLength + 1);
        length += kSubfolderLength;
    }
    return length;
}

}  // namespace quicktime
