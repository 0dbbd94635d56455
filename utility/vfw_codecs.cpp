#include "utility/vfw_codecs.h"

#include <iterator>

#include "utility/codec_text.h"

namespace setwright {
namespace {

ICINFO EmptyInfo() {
    ICINFO info{};
    info.dwSize = sizeof info;
    return info;
}

// The description, else the short name, each read only within its array.
std::string DescriptionOrName(const ICINFO& info) {
    char text[MAX_PATH];
    std::size_t length = NarrowCopy(text, sizeof text, info.szDescription, std::size(info.szDescription));
    if (length == 0) length = NarrowCopy(text, sizeof text, info.szName, std::size(info.szName));
    return std::string(text, length);
}

}  // namespace

std::vector<CodecEntry> ListCompressors(std::size_t limit) {
    std::vector<CodecEntry> entries;
    ICINFO info = EmptyInfo();
    for (DWORD index = 0; entries.size() < limit && ICInfo(ICTYPE_VIDEO, index, &info); ++index) {
        // The driver may report another code than the one it is installed
        // under; only the installed one finds it again.
        const DWORD installed = info.fccHandler;
        HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_COMPRESS);
        if (!hic) continue;
        ICGetInfo(hic, &info, sizeof info);
        entries.push_back({CodecEntryText(info.fccHandler, info.szDescription), installed});
        if (ICClose(hic) != ICERR_OK) break;
    }
    return entries;
}

std::optional<std::string> CodecDescription(DWORD handler) {
    ICINFO info = EmptyInfo();
    if (!ICInfo(ICTYPE_VIDEO, handler, &info)) return std::nullopt;
    std::string text = DescriptionOrName(info);
    if (text.empty()) {
        // A VCM may leave both texts to the driver: ask the driver itself.
        if (HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_QUERY)) {
            ICINFO reported = EmptyInfo();
            if (ICGetInfo(hic, &reported, sizeof reported)) text = DescriptionOrName(reported);
            ICClose(hic);
        }
    }
    return text;
}

bool ConfigureVfwCodec(HWND owner, DWORD handler) {
    ICINFO info = EmptyInfo();
    if (!ICInfo(ICTYPE_VIDEO, handler, &info)) return false;
    HIC hic = ICOpen(info.fccType, info.fccHandler, ICMODE_QUERY);
    if (!hic) return true;
    ICSendMessage(hic, ICM_CONFIGURE, reinterpret_cast<DWORD_PTR>(owner), 0);
    ICClose(hic);
    return true;
}

}  // namespace setwright
