// Debug output, the driver host's default procedure, dialogs, text and locks.
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
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
};

HostState& State() {
    static HostState state;
    return state;
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

}  // namespace platform_test
