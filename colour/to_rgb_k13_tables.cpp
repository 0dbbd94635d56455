#include "colour/to_rgb_k13_tables.h"

#include <atomic>

#include "colour/matrices_to_rgb.h"
#include "colour/to_rgb_pixels.h"

namespace lumacore {
namespace {

enum : int { kUnbuilt = 0, kBuilding = 1, kBuilt = 2 };

K13Tables g_tables[kMatrixCount];
std::atomic<int> g_state[kMatrixCount];

K13Layout MakeLayout(const K13Gains& k, RgbChannelOrder order) {
    const auto gain = std::int16_t(k.luma_gain);
    const K13Row red{gain, 0, std::int16_t(k.cr_to_r), 0};
    const K13Row green{gain, std::int16_t(-k.cb_to_g), std::int16_t(-k.cr_to_g), 0};
    const K13Row blue{gain, std::int16_t(k.cb_to_b), 0, 0};
    const K13Row filler{0, 0, 0, 255 << kK13Shift};
    const K13Row& first = BlueFirst(order) ? blue : red;
    const K13Row& last = BlueFirst(order) ? red : blue;
    if (FillerFirst(order)) return {{filler, first, green, last}};
    return {{first, green, last, filler}};
}

}  // namespace

K13Tables BuildK13Tables(std::int32_t matrix) {
    const int m = ToRgbMatrixIndex(matrix);
    const K13Gains& g8 = kK13Gains8[m];
    const K13Gains& g10 = kK13Gains10[m];
    K13Tables t{};
    t.luma_offset8 = g8.luma_offset;
    t.chroma_offset8 = g8.chroma_offset;
    t.luma_offset10 = g10.luma_offset;
    t.chroma_offset10 = g10.chroma_offset;
    for (std::uint32_t order = 0; order < 4; ++order) {
        t.bits8[order] = MakeLayout(g8, RgbChannelOrder(order));
        t.bits10[order] = MakeLayout(g10, RgbChannelOrder(order));
    }
    return t;
}

const K13Tables& K13TablesFor(std::int32_t matrix, K13Tables& scratch) {
    const int m = ToRgbMatrixIndex(matrix);
    if (g_state[m].load(std::memory_order_acquire) == kBuilt) return g_tables[m];
    scratch = BuildK13Tables(m);
    int expected = kUnbuilt;
    if (g_state[m].compare_exchange_strong(expected, kBuilding, std::memory_order_acq_rel)) {
        g_tables[m] = scratch;
        g_state[m].store(kBuilt, std::memory_order_release);
        return g_tables[m];
    }
    if (expected == kBuilt) return g_tables[m];
    return scratch;
}

bool K13TablesBuilt(std::int32_t matrix) {
    return g_state[ToRgbMatrixIndex(matrix)].load(std::memory_order_acquire) == kBuilt;
}

}  // namespace lumacore
