// The utility's side of the Video Compression Manager: the compressors it
// lists, their descriptions and their configuration dialogs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace setwright {

struct CodecEntry {
    std::string text;  // as CodecEntryText makes it, from what the driver reports
    DWORD handler;     // the handler code the codec is installed under
};

// The video compressors in the VCM's order, each one that opens for
// compression, at most `limit` of them.
std::vector<CodecEntry> ListCompressors(std::size_t limit);

// What the description field shows for an installed codec: its description,
// else its short name, else nothing. No value when the VCM does not know the
// handler.
std::optional<std::string> CodecDescription(DWORD handler);

// Shows the codec's configuration dialog on `owner` (ICM_CONFIGURE; whatever
// the codec answers). False when the VCM does not know the handler.
bool ConfigureVfwCodec(HWND owner, DWORD handler);

}  // namespace setwright
