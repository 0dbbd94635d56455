// A video compressor installed only for Setwright's tests, under three codes
// that each report themselves awkwardly:
//   Znam  a short name and no description
//   Zful  a description that fills all 128 units with no terminator
//   Zref  refuses to open for compression
#include <windows.h>
#include <vfw.h>

namespace {

constexpr DWORD Code(const char (&s)[5]) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1,
                                                           LPARAM p2) {
    switch (message) {
        case DRV_CLOSE:
            return 1;
        case DRV_OPEN: {
            // The instance is its code.
            auto* open = reinterpret_cast<ICOPEN*>(p2);
            if (!open) return 1;
            if (open->fccType != ICTYPE_VIDEO) return 0;
            open->dwError = open->fccHandler == Code("Zref") && (open->dwFlags & ICMODE_COMPRESS) ? ICERR_UNSUPPORTED
                                                                                                   : ICERR_OK;
            return open->dwError == ICERR_OK ? LRESULT(open->fccHandler) : 0;
        }
        case ICM_GETINFO: {
            auto* info = reinterpret_cast<ICINFO*>(p1);
            if (!info) return sizeof(ICINFO);
            if (p2 < LPARAM(sizeof(ICINFO))) return 0;
            *info = ICINFO{sizeof(ICINFO), ICTYPE_VIDEO, DWORD(id), 0, 1, ICVERSION, {}, {}, {}};
            if (id == Code("Znam")) lstrcpyW(info->szName, L"Name only codec");
            for (int i = 0; id == Code("Zful") && i < 128; ++i) info->szDescription[i] = WCHAR('A' + i % 26);
            return sizeof(ICINFO);
        }
        default:
            return message < DRV_USER ? DefDriverProc(id, driver, message, p1, p2) : ICERR_UNSUPPORTED;
    }
}
