#include "tests/setwright/test_support.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace setwright_test {

namespace fs = std::filesystem;

std::string EnvPath(const char* name) {
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 || n >= sizeof value) return {};
    std::string path(value, n);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string StandInLibrary(const char* variant) {
    return EnvPath("LUMACORE_QT_STANDIN_DIR") + "\\qt-" + variant + "\\QuickTime.qts";
}

std::string StageStandIn(const char* variant, const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    const std::string target = folder + (folder.back() == '\\' ? "" : "\\") + "QuickTime.qts";
    CopyFileA(StandInLibrary(variant).c_str(), target.c_str(), FALSE);
    return target;
}

void ResetQtKey() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kQtKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Apple Computer, Inc.");  // only while it is empty
}

void SetQtValue(const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kQtKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    RegCloseKey(key);
}

std::string FreshFolder(const std::string& path) {
    RemoveTree(path);
    std::error_code error;
    fs::create_directories(path, error);
    return path;
}

void RemoveTree(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> CallNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const std::string& line : lines) {
        const std::size_t start = line.find(' ');
        if (start == std::string::npos) {
            names.push_back(line);
            continue;
        }
        const std::size_t end = line.find(' ', start + 1);
        names.push_back(line.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1));
    }
    return names;
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string SystemDirectory() {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
}

}  // namespace setwright_test
