// Shared helpers of the programs that drive the installed codec through the VCM.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace vcm_test {

constexpr BYTE kCanary = 0xA5;

constexpr DWORD Fcc(const char* s) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

inline std::string FccText(DWORD fcc) { return std::string(reinterpret_cast<const char*>(&fcc), 4); }

inline std::string Narrow(const WCHAR* w) {
    std::string s;
    while (*w) s.push_back(char(*w++));
    return s;
}

inline DWORD DibSize(int w, int h, int bits) { return DWORD((w * bits + 31) / 32 * 4 * h); }

// True when bytes [from, to) of `b` all still hold the canary.
inline bool Untouched(const std::vector<BYTE>& b, size_t from = 0, size_t to = size_t(-1)) {
    for (size_t i = from; i < b.size() && i < to; ++i)
        if (b[i] != kCanary) return false;
    return true;
}

// A bitmap header as hosts fill it in.
inline BITMAPINFOHEADER Header(LONG w, LONG h, WORD bits, DWORD compression, DWORD size = 0) {
    return {sizeof(BITMAPINFOHEADER), w, h, 1, bits, compression, size, 0, 0, 0, 0};
}

// A compressor handle closed at scope end.
struct CloseHic { void operator()(HIC hic) const { ICClose(hic); } };
struct Compressor : std::unique_ptr<std::remove_pointer_t<HIC>, CloseHic> {
    using unique_ptr::unique_ptr;
    Compressor(DWORD type, DWORD handler, UINT mode = ICMODE_QUERY) : unique_ptr(ICOpen(type, handler, mode)) {}
};
inline Compressor Open(DWORD fcc, UINT mode = ICMODE_QUERY) { return Compressor(ICTYPE_VIDEO, fcc, mode); }

}  // namespace vcm_test
