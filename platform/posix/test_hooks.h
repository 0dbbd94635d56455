// Windows-free builds only: lets tests look into and steer the stand-in
// registry, debug output, driver host and dialogs.
#pragma once

#include <string>
#include <vector>

#include "platform/posix/win_types.h"

namespace platform_test {

struct RegistryValueData {
    std::string name;  // as first written: lookups ignore case, the spelling stays
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

// Registry
void ResetRegistry();
void FailKeyCreation(bool fail);
bool RegistryKeyExists(HKEY root, const std::string& path);
std::string RegistryKeyClass(HKEY root, const std::string& path);
std::vector<std::string> RegistryValueNames(HKEY root, const std::string& path);
bool ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, RegistryValueData* out);
void WriteRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                        const std::vector<BYTE>& data);
void WriteRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value);
void WriteRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
int OpenRegistryHandles();

// Debugger output
std::vector<std::string> DebugOutput();
void ClearDebugOutput();

// Driver host
struct DefDriverProcCall {
    DWORD_PTR driver_id;
    HDRVR driver;
    UINT message;
    LPARAM param1;
    LPARAM param2;
};
std::vector<DefDriverProcCall> DefDriverProcCalls();
void ResetDefDriverProc(LRESULT result);

// Dialogs: each DialogBoxParamA call is recorded, and its procedure receives
// WM_INITDIALOG so that the texts it sets can be checked.
struct DialogRun {
    HINSTANCE instance;
    UINT template_id;
    HWND parent;
    LPARAM init_param;
    INT_PTR init_result;
    std::vector<std::pair<int, std::string>> texts;  // SetDlgItemTextA during the run
};
std::vector<DialogRun> DialogRuns();
void ResetDialogs();

}  // namespace platform_test
