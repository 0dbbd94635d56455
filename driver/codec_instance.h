// One open instance of the driver; its address is the driver identifier the
// VCM hands back with every message.
#pragma once

#include "settings/codec_settings.h"
#include "platform/win32.h"

namespace lumacore {

struct CodecInstance {
    CodecSettings settings;
    DWORD frame_rate;   // from ICM_COMPRESS_FRAMES_INFO; kept, not used
    DWORD frame_scale;
    // The known FourCC the instance was opened for, or 0. Such an instance
    // proposes and reports its own FourCC, whatever other instances of the
    // process were opened for since.
    DWORD own_fourcc;
    // The bands a frame is split into (LoadBandCount at open; 1: none).
    std::uint32_t bands = 1;
};

}  // namespace lumacore
