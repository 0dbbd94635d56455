// Generated RGB test clips.
#pragma once

#include <cstdint>
#include <string>

namespace lumacore_avi {

enum class Pattern { kBars, kRamp, kNoise };

bool ParsePattern(const std::string& name, Pattern* pattern);

// Fills one bottom-up DIB of 24 or 32 bits per pixel (lines padded to 4
// bytes). Frames differ from one another so that a host mixing them up shows.
void FillPattern(Pattern pattern, int frame, int width, int height, int bit_count, std::uint8_t* dib);

}  // namespace lumacore_avi
