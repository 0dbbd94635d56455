// Writes one RGB frame as a PNG through the platform's imaging component.
#pragma once

#include <cstdint>
#include <string>

namespace lumacore_avi {

// pixels: a bottom-up DIB of 24 or 32 bits per pixel (B, G, R[, X] bytes),
// lines padded to 4 bytes. Returns an empty string, or what went wrong.
std::string WritePng(const std::string& path, const std::uint8_t* pixels, int width, int height, int bit_count);

}  // namespace lumacore_avi
