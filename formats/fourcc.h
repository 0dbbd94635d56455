// FourCC values: four ASCII characters, the first in the low byte.
#pragma once

#include <cstdint>

namespace lumacore {

constexpr std::uint32_t Fourcc(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | (std::uint32_t(std::uint8_t(s[1])) << 8) |
           (std::uint32_t(std::uint8_t(s[2])) << 16) | (std::uint32_t(std::uint8_t(s[3])) << 24);
}

inline constexpr std::uint32_t FCC_UYVY = Fourcc("UYVY");
inline constexpr std::uint32_t FCC_V210 = Fourcc("v210");
inline constexpr std::uint32_t FCC_VIDC = Fourcc("vidc");

}  // namespace lumacore
