// A stand-in for QuickTime's library, so that Setwright's QuickTime access can
// be tested where QuickTime cannot be installed. It exports the three entry
// points (through a .def file per build: some builds leave one out), logs
// every dispatcher call with its selector and arguments, and answers as
// QuickTime does when all goes well.
//
//   LUMACORE_QT_LOG          file each call is appended to, one line per call
//   LUMACORE_QT_INIT_RESULT  what InitializeQTML returns (default 0)
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The one component instance the stand-in hands out.
struct StandardCompression {
    char tag[16];
} g_standard_compression = {"scdi instance"};

struct ComponentParameters {
    std::uint8_t flags;
    std::uint8_t paramSize;
    std::int16_t what;
    std::int32_t params[1];
};

void Log(const char* format, ...) {
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("LUMACORE_QT_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (length < 0) return;
    if (length > int(sizeof line - 3)) length = int(sizeof line - 3);
    line[length++] = '\r';
    line[length++] = '\n';
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, DWORD(length), &written, nullptr);
    CloseHandle(file);
}

// QuickTime's codes hold their first character in the high byte.
void TypeText(std::uint32_t type, char (&text)[5]) {
    for (int i = 0; i < 4; ++i) text[i] = char((type >> (24 - 8 * i)) & 0xFF);
    text[4] = '\0';
}

DWORD WINAPI TryMutex(void* mutex) {
    const DWORD wait = WaitForSingleObject(mutex, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex);
    return wait;
}

// Whether the caller holds the process's QuickTime initialisation mutex:
// "held" when it exists and another thread cannot take it, "free" when
// another thread can, "none" when there is no mutex of that name.
const char* InitMutexState() {
    char name[64];
    std::snprintf(name, sizeof name, "QTMLInitTermMutex%lx", static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name);
    if (!mutex) return "none";
    HANDLE thread = CreateThread(nullptr, 0, &TryMutex, mutex, 0, nullptr);
    DWORD wait = WAIT_FAILED;
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        GetExitCodeThread(thread, &wait);
        CloseHandle(thread);
    }
    CloseHandle(mutex);
    return wait == WAIT_TIMEOUT ? "held" : "free";
}

}  // namespace

extern "C" std::intptr_t __cdecl StandInDispatcher(std::uint32_t selector, ...) {
    va_list args;
    va_start(args, selector);
    std::intptr_t result = 0;
    switch (selector) {
        case 0x001D0008: {
            const std::int32_t flags = va_arg(args, std::int32_t);
            char module[MAX_PATH] = {};
            HMODULE self = nullptr;
            GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCSTR>(&StandInDispatcher), &self);
            GetModuleFileNameA(self, module, sizeof module);
            Log("001d0008 InitializeQTML flags=%lx mutex=%s module=%s", static_cast<unsigned long>(flags),
                InitMutexState(), module);
            char value[32];
            const DWORD n = GetEnvironmentVariableA("LUMACORE_QT_INIT_RESULT", value, sizeof value);
            if (n > 0 && n < sizeof value) result = std::strtol(value, nullptr, 0);
            break;
        }
        case 0x001D0009:
            Log("001d0009 TerminateQTML mutex=%s", InitMutexState());
            break;
        case 0x00020001:
            Log("00020001 EnterMovies");
            break;
        case 0x00020002:
            Log("00020002 ExitMovies");
            break;
        case 0x00010021: {
            char type[5], subtype[5];
            TypeText(va_arg(args, std::uint32_t), type);
            TypeText(va_arg(args, std::uint32_t), subtype);
            Log("00010021 OpenDefaultComponent type=%s subtype=%s", type, subtype);
            result = reinterpret_cast<std::intptr_t>(&g_standard_compression);
            break;
        }
        case 0x00010000: {
            void* instance = va_arg(args, void*);
            const auto* params = va_arg(args, const ComponentParameters*);
            const char* known = instance == &g_standard_compression ? "scdi" : "unknown";
            if (params) {
                Log("00010000 CallComponent instance=%s flags=%u paramSize=%u what=%d", known, params->flags,
                    params->paramSize, params->what);
            } else {
                Log("00010000 CallComponent instance=%s params=null", known);
            }
            break;
        }
        default:
            Log("%08lx unknown", static_cast<unsigned long>(selector));
            result = -2010;
            break;
    }
    va_end(args);
    return result;
}

// Looked up by Setwright but never called: calls are logged all the same.
extern "C" std::intptr_t __cdecl StandInCallComponent() {
    Log("_CallComponent");
    return 0;
}

extern "C" std::intptr_t __cdecl StandInCallComponentFunctionWithStorage() {
    Log("_CallComponentFunctionWithStorage");
    return 0;
}
