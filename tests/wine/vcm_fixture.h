// Shared helpers of the programs that drive the installed codec through the VCM.
#pragma once

#include <windows.h>
#include <vfw.h>

#include <string>

namespace vcm_test {

constexpr DWORD Fcc(const char (&s)[5]) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

inline DWORD FccOf(const char* s) {
    return DWORD(BYTE(s[0])) | (DWORD(BYTE(s[1])) << 8) | (DWORD(BYTE(s[2])) << 16) | (DWORD(BYTE(s[3])) << 24);
}

inline std::string FccText(DWORD fcc) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[i] = char((fcc >> (8 * i)) & 0xFF);
    return s;
}

inline std::string Narrow(const WCHAR* w) {
    std::string s;
    while (*w) s.push_back(char(*w++));
    return s;
}

// A bitmap header as hosts fill it in.
inline BITMAPINFOHEADER Header(LONG w, LONG h, WORD bits, DWORD compression, DWORD size = 0) {
    BITMAPINFOHEADER b{};
    b.biSize = sizeof b;
    b.biWidth = w;
    b.biHeight = h;
    b.biPlanes = 1;
    b.biBitCount = bits;
    b.biCompression = compression;
    b.biSizeImage = size;
    return b;
}

// Closes a compressor handle at scope end.
class Compressor {
public:
    explicit Compressor(HIC hic) : hic_(hic) {}
    Compressor(DWORD type, DWORD handler, UINT mode = ICMODE_QUERY) : hic_(ICOpen(type, handler, mode)) {}
    ~Compressor() {
        if (hic_) ICClose(hic_);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    HIC get() const { return hic_; }
    explicit operator bool() const { return hic_ != nullptr; }

private:
    HIC hic_;
};

}  // namespace vcm_test
