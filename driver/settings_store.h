// Persistence of the settings in the per-user registry, through one settings
// image shared by every instance of the process.
#pragma once

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

// Tests only: forget what earlier loads and saves left in the shared image.
void ResetSharedSettingsForTesting();

}  // namespace lumacore
