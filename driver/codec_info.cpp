#include "driver/codec_info.h"

#include "driver/module_state.h"
#include "formats/fourcc.h"
#include "formats/fourcc_catalogue.h"

namespace lumacore {

LRESULT HandleGetInfo(CodecInstance* instance, ICINFO* info, LPARAM size) {
    const DWORD fourcc = instance->own_fourcc ? instance->own_fourcc : NormaliseFourcc(LastOpenedFourcc());
    if (!info) return sizeof(ICINFO);
    if (size < LPARAM(sizeof(ICINFO))) return 0;

    instance->settings.fourcc_used = std::int32_t(fourcc);

    const FourccEntry* entry = FindFourcc(fourcc);
    const bool named = entry && entry->name;
    info->dwSize = sizeof(ICINFO);
    info->fccType = FCC_VIDC;
    info->fccHandler = fourcc;
    info->dwFlags = 0;
    info->dwVersion = 0x00010001;
    info->dwVersionICM = 0x0104;
    MultiByteToWideChar(CP_ACP, 0, named ? entry->name : kGenericName, -1, info->szName, 16);
    MultiByteToWideChar(CP_ACP, 0, named ? entry->description : kGenericDescription, -1, info->szDescription, 128);
    return sizeof(ICINFO);
}

}  // namespace lumacore
