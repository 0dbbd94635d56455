// Debug output, the driver host's default procedure, dialogs and their
// controls, property sheets, text and locks.
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/test_hooks.h"
#include "platform/posix/win_api.h"

namespace {

struct HostState {
    std::mutex mutex;
    std::vector<std::string> debug_output;
    std::vector<platform_test::DefDriverProcCall> def_calls;
    LRESULT def_result = 0;
    std::vector<platform_test::DialogRun> dialogs;
    platform_test::DialogRun* current_dialog = nullptr;
    std::map<std::pair<HWND, int>, platform_test::ControlState> controls;
    std::map<std::pair<HWND, int>, LONG_PTR> window_longs;
    std::deque<platform_test::SheetAction> sheet_actions;
    std::vector<platform_test::SheetRun> sheets;
    HWND open_sheet = nullptr;
    UINT open_sheet_pages = 0;
};

// Made-up handles of a sheet and its pages.
HWND SheetWindow() { return reinterpret_cast<HWND>(ULONG_PTR(0x5EE70000)); }
HWND PageWindow(UINT index) { return reinterpret_cast<HWND>(ULONG_PTR(0x5EE70100 + 0x100 * ULONG_PTR(index))); }

HostState& State() {
    static HostState state;
    return state;
}

// Whether a window is a page of the open sheet; the state's lock is held.
bool IsOpenSheetPage(const HostState& s, HWND window) {
    for (UINT i = 0; s.open_sheet && i < s.open_sheet_pages; ++i)
        if (window == PageWindow(i)) return true;
    return false;
}

}  // namespace

void OutputDebugStringA(LPCSTR text) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.debug_output.emplace_back(text ? text : "");
}

LRESULT DefDriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1, LPARAM p2) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.def_calls.push_back({id, driver, message, p1, p2});
    return s.def_result;
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR template_name, HWND parent, DLGPROC proc, LPARAM param) {
    HostState& s = State();
    platform_test::DialogRun run{instance, UINT(ULONG_PTR(template_name)), parent, param, 0, {}};
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.current_dialog = &run;
    }
    // A made-up window handle: the stand-in has no windows.
    HWND dialog = reinterpret_cast<HWND>(ULONG_PTR(0x1D1A106));
    run.init_result = proc ? proc(dialog, WM_INITDIALOG, 0, param) : 0;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.current_dialog = nullptr;
    s.dialogs.push_back(run);
    return IDOK;
}

BOOL EndDialog(HWND, INT_PTR) { return TRUE; }

BOOL SetDlgItemTextA(HWND, int id, LPCSTR text) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.current_dialog) s.current_dialog->texts.emplace_back(id, text ? text : "");
    return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    platform_test::ControlState& c = s.controls[{dialog, id}];
    switch (message) {
        case CB_ADDSTRING:
            c.items.emplace_back(lparam ? reinterpret_cast<LPCSTR>(lparam) : "");
            return LRESULT(c.items.size() - 1);
        case CB_SETCURSEL:
            // As a real combo box: an index past the end clears the selection.
            c.selection = wparam < c.items.size() ? LRESULT(wparam) : CB_ERR;
            return c.selection;
        case CB_GETCURSEL:
            return c.selection;
        default:
            return 0;
    }
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.controls[{dialog, id}].check = check;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.controls.find({dialog, id});
    return it == s.controls.end() ? BST_UNCHECKED : it->second.check;
}

int GetDlgCtrlID(HWND) { return 0; }

HWND CreateWindowExA(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) {
    return nullptr;
}

BOOL SetWindowPos(HWND, HWND, int, int, int, int, UINT) { return TRUE; }
LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) { return 0; }

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (window && window == s.open_sheet && message == PSM_PRESSBUTTON) {
        using Action = platform_test::SheetAction;
        if (wparam == PSBTN_OK) s.sheet_actions.push_front({Action::kOk});
        if (wparam == PSBTN_CANCEL) s.sheet_actions.push_front({Action::kCancel});
    }
    return TRUE;
}

BOOL EnumChildWindows(HWND, WNDENUMPROC, LPARAM) { return TRUE; }

HWND GetParent(HWND window) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return IsOpenSheetPage(s, window) ? s.open_sheet : nullptr;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.window_longs.find({window, index});
    return it == s.window_longs.end() ? 0 : it->second;
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return std::exchange(s.window_longs[{window, index}], value);
}

// There is no string table.
int LoadStringA(HINSTANCE, UINT, LPSTR buffer, int size) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
}

void InitCommonControls() {}

INT_PTR PropertySheetA(const PROPSHEETHEADERA* header) {
    using Action = platform_test::SheetAction;
    if (!header || !header->ppsp || header->nPages == 0 || header->nStartPage >= header->nPages) return -1;
    HostState& s = State();

    platform_test::SheetRun run{header->dwSize, header->dwFlags, header->hwndParent, header->hInstance,
                                header->pszCaption ? header->pszCaption : "", header->nPages, header->nStartPage,
                                header->hIcon != nullptr, header->pfnCallback != nullptr, {}, false};
    // The sheet works on its own copies of the page records, as a real one
    // does, and steps through the array by each record's own size.
    std::vector<PROPSHEETPAGEA> pages(header->nPages);
    const BYTE* next = reinterpret_cast<const BYTE*>(header->ppsp);
    for (PROPSHEETPAGEA& page : pages) {
        const DWORD size = reinterpret_cast<const PROPSHEETPAGEA*>(next)->dwSize;
        if (size < offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(UINT*)) return -1;
        std::memcpy(&page, next, size < sizeof page ? size : sizeof page);
        next += size;
    }
    for (const PROPSHEETPAGEA& p : pages)
        run.pages.push_back({p.dwSize, p.dwFlags, p.hInstance, UINT(ULONG_PTR(p.pszTemplate)), p.pfnDlgProc != nullptr,
                             p.lParam, p.pfnCallback != nullptr, nullptr});
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.open_sheet = SheetWindow();
        s.open_sheet_pages = header->nPages;
        for (auto it = s.controls.begin(); it != s.controls.end();)
            it = IsOpenSheetPage(s, it->first.first) ? s.controls.erase(it) : std::next(it);
        for (auto it = s.window_longs.begin(); it != s.window_longs.end();)
            it = IsOpenSheetPage(s, it->first.first) ? s.window_longs.erase(it) : std::next(it);
    }

    auto call = [&](UINT i, UINT message, WPARAM wparam, LPARAM lparam) {
        if (pages[i].pfnDlgProc) pages[i].pfnDlgProc(PageWindow(i), message, wparam, lparam);
    };
    auto show = [&](UINT i) {
        if (!run.pages[i].window) {
            run.pages[i].window = PageWindow(i);
            call(i, WM_INITDIALOG, 0, LPARAM(&pages[i]));
        }
    };
    // A notification and the page's answer (its DWLP_MSGRESULT).
    auto notify = [&](UINT i, UINT code) {
        SetWindowLongPtrA(PageWindow(i), DWLP_MSGRESULT, 0);
        NMHDR nm{SheetWindow(), 0, code};
        call(i, WM_NOTIFY, 0, LPARAM(&nm));
        return GetWindowLongPtrA(PageWindow(i), DWLP_MSGRESULT);
    };

    UINT current = header->nStartPage;
    show(current);
    notify(current, PSN_SETACTIVE);
    for (bool open = true; open;) {
        Action a{Action::kCancel};
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            if (!s.sheet_actions.empty()) {
                a = s.sheet_actions.front();
                s.sheet_actions.pop_front();
            }
        }
        switch (a.kind) {
            case Action::kShowPage:
                if (UINT(a.id) >= header->nPages || notify(current, PSN_KILLACTIVE) != 0) break;
                current = UINT(a.id);
                show(current);
                notify(current, PSN_SETACTIVE);
                break;
            case Action::kSelect:
                SendDlgItemMessageA(PageWindow(current), a.id, CB_SETCURSEL, WPARAM(a.value), 0);
                break;
            case Action::kCheck:
                CheckDlgButton(PageWindow(current), a.id, UINT(a.value));
                break;
            case Action::kCommand:
                call(current, WM_COMMAND, WPARAM((DWORD(WORD(a.value)) << 16) | WORD(a.id)), 0);
                break;
            case Action::kOk:
                if (notify(current, PSN_KILLACTIVE) != 0) break;
                for (UINT i = 0; i < header->nPages; ++i)
                    if (run.pages[i].window) notify(i, PSN_APPLY);
                run.accepted = true;
                open = false;
                break;
            case Action::kCancel:
                for (UINT i = 0; i < header->nPages; ++i)
                    if (run.pages[i].window) notify(i, PSN_RESET);
                open = false;
                break;
        }
    }
    for (UINT i = 0; i < header->nPages; ++i)
        if (run.pages[i].window) call(i, WM_DESTROY, 0, 0);

    std::lock_guard<std::mutex> lock(s.mutex);
    s.sheet_actions.clear();
    s.open_sheet = nullptr;
    s.open_sheet_pages = 0;
    s.sheets.push_back(run);
    return run.accepted ? 1 : 0;
}

// Only the ANSI subset matters to the codec: its strings are plain ASCII.
int MultiByteToWideChar(UINT, DWORD, LPCSTR in, int in_len, LPWSTR out, int out_len) {
    if (!in) return 0;
    int n = 0;
    if (in_len < 0) {
        while (in[n]) ++n;
        ++n;  // the terminator counts
    } else {
        n = in_len;
    }
    if (out_len == 0) return n;
    if (!out || n > out_len) return 0;
    for (int i = 0; i < n; ++i) out[i] = WCHAR(static_cast<unsigned char>(in[i]));
    return n;
}

int wsprintfA(LPSTR out, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    // The platform's buffer limit for this call is 1024 characters.
    int n = std::vsnprintf(out, 1024, format, args);
    va_end(args);
    return n;
}

void AcquireSRWLockExclusive(PSRWLOCK lock) { lock->mutex.lock(); }
void ReleaseSRWLockExclusive(PSRWLOCK lock) { lock->mutex.unlock(); }

namespace platform_test {

std::vector<std::string> DebugOutput() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.debug_output;
}

void ClearDebugOutput() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.debug_output.clear();
}

std::vector<DefDriverProcCall> DefDriverProcCalls() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.def_calls;
}

void ResetDefDriverProc(LRESULT result) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.def_calls.clear();
    s.def_result = result;
}

std::vector<DialogRun> DialogRuns() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.dialogs;
}

void ResetDialogs() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.dialogs.clear();
}

ControlState Control(HWND dialog, int id) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.controls.find({dialog, id});
    return it == s.controls.end() ? ControlState{} : it->second;
}

void SetSheetActions(std::vector<SheetAction> actions) {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sheet_actions.assign(actions.begin(), actions.end());
}

std::vector<SheetRun> SheetRuns() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.sheets;
}

void ResetWindows() {
    HostState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.controls.clear();
    s.window_longs.clear();
    s.sheet_actions.clear();
    s.sheets.clear();
}

}  // namespace platform_test
