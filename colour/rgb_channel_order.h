// The channel orders of RGB pixels, the low 15 bits of the flags word the
// routines take, for both directions of conversion.
#pragma once

#include <cstdint>

namespace lumacore {

enum RgbChannelOrder : std::uint32_t {
    ORDER_BGRX = 0,
    ORDER_XBGR = 1,
    ORDER_RGBX = 2,
    ORDER_XRGB = 3,
};

}  // namespace lumacore
