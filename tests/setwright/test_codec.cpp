// A video compressor installed only for Setwright's tests, under four codes
// that each report themselves differently:
//   Znam  a short name and no description
//   Znon  neither a name nor a description
//   Zful  a description that fills all 128 units with no terminator
//   Zref  refuses to open for compression
// Every ICM_CONFIGURE it gets is appended to $LUMACORE_TEST_CODEC_LOG.
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <new>

namespace {

constexpr DWORD Code(const char (&s)[5]) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

struct Instance {
    DWORD handler;
};

void LogConfigure(const Instance* instance, LPARAM window, LPARAM second) {
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("LUMACORE_TEST_CODEC_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char line[128];
    const DWORD handler = instance ? instance->handler : 0;
    const int length = std::snprintf(line, sizeof line, "configure %c%c%c%c window=%llx second=%llx\r\n",
                                     char(handler), char(handler >> 8), char(handler >> 16), char(handler >> 24),
                                     static_cast<unsigned long long>(window), static_cast<unsigned long long>(second));
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, DWORD(length), &written, nullptr);
    CloseHandle(file);
}

LRESULT GetInfo(const Instance* instance, ICINFO* info, LPARAM size) {
    if (!info) return sizeof(ICINFO);
    if (size < LPARAM(sizeof(ICINFO))) return 0;
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = instance->handler;
    info->dwFlags = 0;
    info->dwVersion = 1;
    info->dwVersionICM = ICVERSION;
    info->szName[0] = 0;
    info->szDescription[0] = 0;
    if (instance->handler == Code("Znam")) {
        lstrcpyW(info->szName, L"Name only codec");
    } else if (instance->handler == Code("Zful")) {
        for (int i = 0; i < 128; ++i) info->szDescription[i] = WCHAR('A' + i % 26);
    } else if (instance->handler != Code("Znon")) {
        lstrcpyW(info->szName, L"Test codec");
        lstrcpyW(info->szDescription, L"Setwright test codec");
    }
    return sizeof(ICINFO);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1,
                                                           LPARAM p2) {
    auto* instance = reinterpret_cast<Instance*>(id);
    switch (message) {
        case DRV_LOAD:
        case DRV_FREE:
        case DRV_ENABLE:
        case DRV_DISABLE:
        case DRV_INSTALL:
        case DRV_REMOVE:
            return 1;
        case DRV_OPEN: {
            auto* open = reinterpret_cast<ICOPEN*>(p2);
            if (!open) return 1;
            if (open->fccType != ICTYPE_VIDEO) return 0;
            if (open->fccHandler == Code("Zref") && (open->dwFlags & ICMODE_COMPRESS)) {
                open->dwError = ICERR_UNSUPPORTED;
                return 0;
            }
            auto* opened = new (std::nothrow) Instance{open->fccHandler};
            open->dwError = opened ? ICERR_OK : ICERR_MEMORY;
            return LRESULT(opened);
        }
        case DRV_CLOSE:
            delete instance;
            return 1;
        case ICM_GETINFO:
            return instance ? GetInfo(instance, reinterpret_cast<ICINFO*>(p1), p2) : 0;
        case ICM_CONFIGURE:
            LogConfigure(instance, p1, p2);
            return p1 == -1 ? ICERR_UNSUPPORTED : ICERR_OK;
        default:
            if (message < DRV_USER) return DefDriverProc(id, driver, message, p1, p2);
            return ICERR_UNSUPPORTED;
    }
}
