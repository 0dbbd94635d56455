// The settings record each driver instance carries. It is also the codec's
// state blob (ICM_GETSTATE / ICM_SETSTATE), so hosts store it in their files:
// the field order and the 72-byte size are a file format.
#pragma once

#include <cstdint>

#include "formats/line_pitch.h"

namespace lumacore {

struct CodecSettings {
    std::int32_t enc_matrix;
    std::int32_t dec_matrix;
    std::int32_t enc_matrix_hd;
    std::int32_t dec_matrix_hd;
    std::int32_t fourcc_used;
    std::int32_t fourcc_bitcount;
    std::int32_t top_field_first;
    std::int32_t invert_input;
    std::int32_t invert_output;
    std::int32_t cpu_disable_mask;
    std::int32_t board_align_720;
    std::int32_t board_align_VESA;
    std::int32_t disable_transcode;
    std::int32_t disable_transcode_color;
    std::int32_t disable_transcode_8_10;
    std::int32_t disable_transcode_direct;
    std::int32_t use_system_codec;
    std::int32_t settings_accepted;
};
static_assert(sizeof(CodecSettings) == 72, "the state blob is 72 bytes");

// How a field is brought into range when settings are loaded or read back
// from the property sheet.
enum class FieldBounds { None, Range, BitCount };

struct SettingsField {
    const char* registry_name;  // null: never persisted
    std::int32_t CodecSettings::*member;
    std::int32_t default_value;
    FieldBounds bounds;
    std::int32_t low;
    std::int32_t high;
};

inline constexpr int kSettingsFieldCount = 18;
inline constexpr int kPersistedFieldCount = 16;

// Every field, in record order (which is also the registry read/write order).
extern const SettingsField kSettingsFields[kSettingsFieldCount];

// Defaults: matrices 1, 1, 5, 5; UYVY at 16 bits; everything else 0.
CodecSettings DefaultSettings();

// Applies the load bounds: ranges are clamped, the bit count is compared
// unsigned (0..14 become 15, above 32 becomes 32), the rest is left alone.
void ClampSettings(CodecSettings* settings);

// The two settings the conversions read: the boards' line alignments.
constexpr BoardAlignment AlignmentOf(const CodecSettings& settings) {
    return {settings.board_align_720, settings.board_align_VESA};
}

}  // namespace lumacore
