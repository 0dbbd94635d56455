// The texts Setwright shows for a codec.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32.h"

namespace setwright {

// Copies the UTF-16 string `source`, at most `sourceCount` units long (it need
// not be terminated within them), keeping the low byte of each unit. Stops at
// the terminator or when `dest` (of `destSize` bytes) is full; `dest` is
// always terminated. Returns the length copied.
std::size_t NarrowCopy(char* dest, std::size_t destSize, const WCHAR* source, std::size_t sourceCount);

// A codec list entry: the handler code's four bytes, first byte first, a dash
// and the description, as "UYVY - OV 8 Bit Y'CbCr 4:2:2 AVI/WMV [UYVY]".
std::string CodecEntryText(DWORD handler, const WCHAR (&description)[128]);

}  // namespace setwright
