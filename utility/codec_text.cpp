#include "utility/codec_text.h"

namespace setwright {

std::size_t NarrowCopy(char* dest, std::size_t destSize, const WCHAR* source, std::size_t sourceCount) {
    if (!dest || destSize == 0) return 0;
    std::size_t n = 0;
    if (source) {
        for (; n + 1 < destSize && n < sourceCount && source[n] != 0; ++n) dest[n] = char(source[n] & 0xFF);
    }
    dest[n] = '\0';
    return n;
}

std::string CodecEntryText(DWORD handler, const WCHAR (&description)[128]) {
    char text[MAX_PATH];
    const std::size_t length = NarrowCopy(text, sizeof text, description, 128);
    std::string entry;
    for (int shift = 0; shift < 32; shift += 8) entry.push_back(char((handler >> shift) & 0xFF));
    entry += " - ";
    entry.append(text, length);
    return entry;
}

}  // namespace setwright
