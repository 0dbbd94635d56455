// SSE2 Y'CbCr to RGB: the pair pipeline on 128-bit registers.
#include "engine/simd/isa_namespace.h"
#include "colour/simd/to_rgb_simd.h"

#if defined(__x86_64__) || defined(__i386__)

#include "colour/simd/to_rgb_isa_sse2.h"
#include "colour/simd/to_rgb_pipeline.h"

namespace lumacore {

std::uint32_t ToRgbPairBlocksSse2(const PairProgram& program, PairSource source, std::uint8_t* dst, const void* a,
                                  const void* b, const void* c, std::uint32_t pixels) {
    return to_rgb_pipeline::Run<to_rgb_pipeline::Sse2>(program, source, dst, a, b, c, pixels);
}

// Field extraction wants byte shuffles SSE2 does not have; the words are
// taken apart one group at a time.
void UnpackV210PairsSse2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs) {
    for (std::uint32_t g = 0; g < groups; ++g) UnpackV210Group(src + 16 * g, y_pairs + 3 * g, c_pairs + 3 * g);
}

void DivideBy10000Sse2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    to_rgb_pipeline::DivideBy10000<to_rgb_pipeline::Sse2>(sums, out, count);
}

void FenceStoresSse2() { _mm_sfence(); }

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t ToRgbPairBlocksSse2(const PairProgram&, PairSource, std::uint8_t*, const void*, const void*,
                                  const void*, std::uint32_t) {
    return 0;
}
void UnpackV210PairsSse2(const std::uint8_t* src, std::uint32_t groups, std::uint32_t* y_pairs,
                         std::uint32_t* c_pairs) {
    for (std::uint32_t g = 0; g < groups; ++g) UnpackV210Group(src + 16 * g, y_pairs + 3 * g, c_pairs + 3 * g);
}
void DivideBy10000Sse2(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::int32_t v = sums[i] / 10000;
        out[i] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
}
void FenceStoresSse2() {}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallToRgbSse2(ToRgbKernels& k) {
    k.pair_blocks = ToRgbPairBlocksSse2;
    k.block_pixels = kSse2BlockPixels;
    k.v210_pairs = UnpackV210PairsSse2;
    k.divide = DivideBy10000Sse2;
    k.fence = FenceStoresSse2;  // the wider tiers' streaming stores too
}

}  // namespace lumacore
