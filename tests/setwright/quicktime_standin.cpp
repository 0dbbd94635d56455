// A stand-in for QuickTime's library where QuickTime cannot be installed. It
// exports the three entry points (through a .def file per build: some builds
// leave one out), appends every dispatcher call to $LUMACORE_QT_LOG, one line
// each, and answers as QuickTime does when all goes well, except that
// InitializeQTML returns $LUMACORE_QT_INIT_RESULT when that is set.
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

char g_instance[] = "scdi";  // the one component instance handed out

void Log(const char* format, ...) {
    char path[MAX_PATH];
    FILE* f = GetEnvironmentVariableA("LUMACORE_QT_LOG", path, sizeof path) ? std::fopen(path, "ab") : nullptr;
    if (!f) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fputc('\n', f);
    std::fclose(f);
}

// "held" when the caller holds the process's QuickTime mutex (another thread
// cannot take it), "free" when another thread can, "none" without one.
const char* MutexState() {
    char name[64];
    std::snprintf(name, sizeof name, "QTMLInitTermMutex%lx", static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
    if (!mutex) return "none";
    DWORD wait = WAIT_FAILED;
    HANDLE thread = CreateThread(nullptr, 0, [](void* m) -> DWORD {
        const DWORD w = WaitForSingleObject(m, 0);
        if (w != WAIT_TIMEOUT) ReleaseMutex(m);
        return w;
    }, mutex, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    GetExitCodeThread(thread, &wait);
    CloseHandle(thread);
    CloseHandle(mutex);
    return wait == WAIT_TIMEOUT ? "held" : "free";
}

}  // namespace

extern "C" std::intptr_t __cdecl StandInDispatcher(std::uint32_t selector, ...) {
    va_list args;
    va_start(args, selector);
    std::intptr_t result = 0;
    char text[MAX_PATH] = {};
    if (selector == 0x001D0008) {
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&StandInDispatcher), &self);
        GetModuleFileNameA(self, text, sizeof text);
        Log("InitializeQTML flags=%x mutex=%s module=%s", va_arg(args, unsigned), MutexState(), text);
        if (GetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", text, sizeof text)) result = std::atoi(text);
    } else if (selector == 0x001D0009) {
        Log("TerminateQTML mutex=%s", MutexState());
    } else if (selector == 0x00020001 || selector == 0x00020002) {
        Log(selector == 0x00020001 ? "EnterMovies" : "ExitMovies");
    } else if (selector == 0x00010021) {  // QuickTime's codes hold their first character in the high byte
        const std::uint32_t type = va_arg(args, std::uint32_t), subtype = va_arg(args, std::uint32_t);
        Log("OpenDefaultComponent type=%c%c%c%c subtype=%c%c%c%c", type >> 24, type >> 16 & 255, type >> 8 & 255,
            type & 255, subtype >> 24, subtype >> 16 & 255, subtype >> 8 & 255, subtype & 255);
        result = reinterpret_cast<std::intptr_t>(g_instance);
    } else if (selector == 0x00010000) {
        void* instance = va_arg(args, void*);
        const auto* params = va_arg(args, const std::int16_t*);  // flags and size bytes, then `what`
        Log("CallComponent instance=%s what=%d", instance == g_instance ? g_instance : "unknown",
            params ? params[1] : -1);
    } else {
        Log("%08x unknown", selector);
        result = -2010;
    }
    va_end(args);
    return result;
}

// Looked up by Setwright but never called.
extern "C" std::intptr_t __cdecl StandInCallComponent() { return 0; }
extern "C" std::intptr_t __cdecl StandInCallComponentFunctionWithStorage() { return 0; }
