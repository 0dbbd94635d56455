// Persistence of the settings in the per-user registry, through one settings
// image shared by every instance of the process.
#pragma once

#include <cstdint>

#include "settings/codec_settings.h"

namespace lumacore {

inline constexpr char kSettingsKey[] = "Software\\Orvane Technologies\\Lumacore";
inline constexpr char kSettingsKeyClass[] = "config";
inline constexpr char kKeyCreationFailedMessage[] = "Creating LUMACORE_REG_SUBKEY string failed";

// Fills `settings` from the registry (defaults for what is missing), then
// clamps it. On first run, when the key does not exist, saves the result.
void LoadSettings(CodecSettings* settings);

// Writes `settings` into the shared image and the registry. If the key cannot
// be created, reports it on the debugger output and changes nothing.
void SaveSettings(const CodecSettings& settings);

// The bands a frame is split into, from the optional DWORD value "threads"
// under the settings key: absent or 0, one band per logical processor; 1, no
// bands; at most kMaxBands. Read at every open, never written by the driver,
// and no part of the state record.
inline constexpr char kThreadsValue[] = "threads";
inline constexpr std::uint32_t kMaxBands = 16;
std::uint32_t LoadBandCount();

// Tests only: forget what earlier loads and saves left in the shared image.
void ResetSharedSettingsForTesting();

}  // namespace lumacore
