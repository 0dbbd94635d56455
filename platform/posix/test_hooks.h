// Windows-free builds only: lets tests look into and steer the stand-in
// registry, debug output, driver host and dialogs.
#pragma once

#include <string>
#include <utility>
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

// Dialog controls, kept per (made-up) dialog window and control id. Tests set
// them through the same calls the driver uses (SendDlgItemMessageA with
// CB_SETCURSEL, CheckDlgButton); combo items can only be added by CB_ADDSTRING.
struct ControlState {
    std::vector<std::string> items;  // combo box items, in the order added
    LRESULT selection = CB_ERR;
    UINT check = BST_UNCHECKED;
};
ControlState Control(HWND dialog, int id);

// Property sheets: PropertySheetA records the sheet, creates the start page
// (WM_INITDIALOG with its page record), then plays the scripted actions as a
// user would, with the notifications a real sheet sends. A script that ends
// without OK or Cancel cancels. A page may press a sheet button by posting
// PSM_PRESSBUTTON to its parent: that comes next.
struct SheetAction {
    enum Kind { kShowPage, kSelect, kCheck, kCommand, kOk, kCancel };
    Kind kind;
    int id = 0;     // page index (kShowPage) or control id
    int value = 0;  // item index, check state, or notification code (kCommand)
};
void SetSheetActions(std::vector<SheetAction> actions);

struct SheetPageRecord {
    DWORD size;
    DWORD flags;
    HINSTANCE instance;
    UINT template_id;
    bool has_dialog_proc;
    LPARAM param;
    bool has_callback;
    HWND window;  // null: never shown
};
struct SheetRun {
    DWORD size;
    DWORD flags;
    HWND parent;
    HINSTANCE instance;
    std::string caption;
    UINT page_count;
    UINT start_page;
    bool has_icon;
    bool has_callback;
    std::vector<SheetPageRecord> pages;
    bool accepted;
};
std::vector<SheetRun> SheetRuns();

// Forgets every control, window long, sheet run and script.
void ResetWindows();

}  // namespace platform_test
