#include "settings/codec_settings.h"

#include "formats/matrix_numbers.h"
#include "formats/fourcc.h"

namespace lumacore {

const SettingsField kSettingsFields[kSettingsFieldCount] = {
    {"enc_matrix", &CodecSettings::enc_matrix, MATRIX_CCIR601_STANDARD, FieldBounds::Range, 0, 5},
    {"dec_matrix", &CodecSettings::dec_matrix, MATRIX_CCIR601_STANDARD, FieldBounds::Range, 0, 5},
    {"enc_matrix_hd", &CodecSettings::enc_matrix_hd, MATRIX_SMPTE274M_STANDARD, FieldBounds::Range, 0, 5},
    {"dec_matrix_hd", &CodecSettings::dec_matrix_hd, MATRIX_SMPTE274M_STANDARD, FieldBounds::Range, 0, 5},
    {"fourcc_used", &CodecSettings::fourcc_used, std::int32_t(FCC_UYVY), FieldBounds::None, 0, 0},
    {"fourcc_bitcount", &CodecSettings::fourcc_bitcount, 16, FieldBounds::BitCount, 15, 32},
    {"top_field_first", &CodecSettings::top_field_first, 0, FieldBounds::Range, 0, 1},
    {"invert_input", &CodecSettings::invert_input, 0, FieldBounds::Range, 0, 1},
    {"invert_output", &CodecSettings::invert_output, 0, FieldBounds::Range, 0, 1},
    {nullptr, &CodecSettings::cpu_disable_mask, 0, FieldBounds::None, 0, 0},
    {"board_align_720", &CodecSettings::board_align_720, 0, FieldBounds::Range, 0, 2},
    {"board_align_VESA", &CodecSettings::board_align_VESA, 0, FieldBounds::Range, 0, 1},
    {"disable_transcode", &CodecSettings::disable_transcode, 0, FieldBounds::Range, 0, 1},
    {"disable_transcode_color", &CodecSettings::disable_transcode_color, 0, FieldBounds::Range, 0, 1},
    {"disable_transcode_8_10", &CodecSettings::disable_transcode_8_10, 0, FieldBounds::Range, 0, 1},
    {"disable_transcode_direct", &CodecSettings::disable_transcode_direct, 0, FieldBounds::Range, 0, 1},
    {"use_system_codec", &CodecSettings::use_system_codec, 0, FieldBounds::Range, 0, 1},
    {nullptr, &CodecSettings::settings_accepted, 0, FieldBounds::None, 0, 0},
};

CodecSettings DefaultSettings() {
    CodecSettings settings{};
    for (const SettingsField& f : kSettingsFields) settings.*f.member = f.default_value;
    return settings;
}

void ClampSettings(CodecSettings* settings) {
    for (const SettingsField& f : kSettingsFields) {
        std::int32_t& v = settings->*f.member;
        switch (f.bounds) {
            case FieldBounds::None:
                break;
            case FieldBounds::Range:
                if (v < f.low) v = f.low;
                if (v > f.high) v = f.high;
                break;
            case FieldBounds::BitCount: {
                // Compared unsigned, so negative counts land above the top.
                std::uint32_t u = std::uint32_t(v);
                if (u < std::uint32_t(f.low)) u = std::uint32_t(f.low);
                if (u > std::uint32_t(f.high)) u = std::uint32_t(f.high);
                v = std::int32_t(u);
                break;
            }
        }
    }
}

}  // namespace lumacore
