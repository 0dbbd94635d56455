// A video compressor installed only for Setwright's tests, under three codes
// that each report themselves awkwardly:
//   Znam  a short name and no description
//   Zful  a description that fills all 128 units with no terminator
//   Zref  refuses to open for compression
#include <windows.h>
#include <vfw.h>

constexpr DWORD Code(const char (&s)[5]) { return mmioFOURCC(s[0], s[1], s[2], s[3]); }

// An instance is the code it was opened for.
extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1,
                                                           LPARAM p2) {
    auto* open = reinterpret_cast<ICOPEN*>(p2);
    auto* info = reinterpret_cast<ICINFO*>(p1);
    switch (message) {
        case DRV_CLOSE:
            return 1;
        case DRV_OPEN:
            if (!open) return 1;
            if (open->fccType != ICTYPE_VIDEO) return 0;
            open->dwError = open->fccHandler == Code("Zref") && (open->dwFlags & ICMODE_COMPRESS) ? ICERR_UNSUPPORTED
                                                                                                   : ICERR_OK;
            return open->dwError == ICERR_OK ? LRESULT(open->fccHandler) : 0;
        case ICM_GETINFO:
            if (!info || p2 < LPARAM(sizeof(ICINFO))) return info ? 0 : sizeof(ICINFO);
            *info = ICINFO{sizeof(ICINFO), ICTYPE_VIDEO, DWORD(id), 0, 1, ICVERSION, {}, {}, {}};
            if (id == Code("Znam")) lstrcpyW(info->szName, L"Name only codec");
            for (int i = 0; id == Code("Zful") && i < 128; ++i) info->szDescription[i] = WCHAR('A' + i % 26);
            return sizeof(ICINFO);
        default:
            return message < DRV_USER ? DefDriverProc(id, driver, message, p1, p2) : ICERR_UNSUPPORTED;
    }
}
