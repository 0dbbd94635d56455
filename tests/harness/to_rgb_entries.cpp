// Harness entries of the Y'CbCr to RGB kernels: the pair blocks under each
// family's program, the v210 unpacking to pair words and the division.
#include <algorithm>
#include <vector>

#include "colour/matrices_to_rgb.h"
#include "colour/simd/to_rgb_simd.h"
#include "colour/to_rgb_k13_tables.h"
#include "colour/to_rgb_kernels.h"
#include "colour/to_rgb_program.h"
#include "colour/ycbcr_to_rgb_generic.h"
#include "tests/harness/kernel_harness.h"

namespace kernel_harness {
namespace {

using namespace lumacore;
using U8 = std::uint8_t;
using U32 = std::uint32_t;

// The sums any matrix reaches from 8-bit or 10-bit samples: each channel's
// sum is linear in Y', Cb and Cr, so its extremes lie at theirs.
void ToRgbSums(int, std::int64_t* low, std::int64_t* high) {
    *low = *high = 0;
    for (const auto* sets : {kToRgb8, kToRgb10})
        for (int m = 0; m < kMatrixCount; ++m) {
            const ToRgbCoefficients& k = sets[m];
            const int max = sets == kToRgb8 ? 255 : 1023;
            for (int y : {0, max})
                for (int cb : {0, max})
                    for (int cr : {0, max}) {
                        const std::int64_t ys = std::int64_t(y - k.luma_offset) * k.luma_gain;
                        const std::int64_t cbs = cb - k.chroma_offset, crs = cr - k.chroma_offset;
                        for (std::int64_t s :
                             {ys + k.cr_to_r * crs, ys - k.cb_to_g * cbs - k.cr_to_g * crs, ys + k.cb_to_b * cbs}) {
                            *low = std::min(*low, s);
                            *high = std::max(*high, s);
                        }
                    }
        }
}
void FillToRgbSums(U8* p, std::size_t n, U32 seed, int v) {
    std::int64_t low, high;
    ToRgbSums(v, &low, &high);
    FillSums(p, n, seed, low, high);
}
template <void (*K)(const std::int32_t*, U8*, U32)>
U32 Divide(const Call& c) {
    K(reinterpret_cast<const std::int32_t*>(c.src[0]), c.dst[0], c.n);
    return c.n;
}
U32 DividePlain(const Call& c) {
    DivideBy10000(SimdTier::Plain, reinterpret_cast<const std::int32_t*>(c.src[0]), c.dst[0], c.n);
    return c.n;
}

template <void (*K)(const U8*, U32, U32*, U32*)>
U32 V210Pairs(const Call& c) {
    K(c.src[0], c.n, reinterpret_cast<U32*>(c.dst[0]), reinterpret_cast<U32*>(c.dst[1]));
    return c.n;
}
U32 V210PairsPlain(const Call& c) {
    for (U32 g = 0; g < c.n; ++g)
        UnpackV210Group(c.src[0] + 16 * g, reinterpret_cast<U32*>(c.dst[0]) + 3 * g,
                        reinterpret_cast<U32*>(c.dst[1]) + 3 * g);
    return c.n;
}

using PairBlocks = U32 (*)(const PairProgram&, PairSource, U8*, const void*, const void*, const void*, U32);

// Table and 6-bit kernels, variant v: source order v % 2 (UYVY, YUY2),
// output bits {16, 24, 32}[v / 2 % 3], the expanding set from v = 6 on.
int OutBits(int v) { return 16 + 8 * (v / 2 % 3); }
std::size_t OutBytes(U32 n, int v) { return std::size_t(n) * U32(OutBits(v) / 8); }
KernelPairOrder OrderOf(int v) { return v % 2 ? KernelPairOrder::Yuy2 : KernelPairOrder::Uyvy; }
PairSource SourceOf(int v) { return v % 2 ? PairSource::Yuy2 : PairSource::Uyvy; }
const K6Set& K6Of(int v) { return v >= 6 ? K6_601_EXPANDED : K6_601_PLAIN; }
const LutSet& LutOf(int v) { return v >= 6 ? LUT_601_EXPANDED : LUT_601_PLAIN; }

// Programs that ask for streaming stores get them where the destination
// starts on a cache line (offset 0 of the harness's blocks).
template <PairBlocks K>
U32 K6Blocks(const Call& c) {
    PairProgram p = K6Program(K6Of(c.variant), OutBits(c.variant));
    p.stream = c.variant >= 6;
    return K(p, SourceOf(c.variant), c.dst[0], c.src[0], nullptr, nullptr, c.n);
}
U32 K6Plain(const Call& c) {
    K6Kernel(SimdTier::Plain, OrderOf(c.variant), OutBits(c.variant), K6Of(c.variant), c.dst[0], 0, c.src[0], 0, c.n,
             1);
    return c.n;
}
// The 6-bit word kernels over every (Y', Cb, Cr): item v is a pair whose two
// pixels have Y' = v & 255, Cb = (v >> 8) & 255, Cr = v >> 16 (built in the
// variant's byte order), swept over every v below 2^24 (a 64th of them in
// debug builds).
void EverySample(int, std::int64_t* low, std::int64_t* high) {
    *low = 0;
#ifdef NDEBUG
    *high = (1 << 24) - 1;
#else
    *high = (1 << 18) - 1;
#endif
}
std::size_t TwoPixelsOut(U32 n, int v) { return OutBytes(2 * n, v); }
const U8* PairsOf(const Call& c) {
    static std::vector<U8> pairs;
    pairs.resize(4 * std::size_t(c.n));
    const auto* v = reinterpret_cast<const std::int32_t*>(c.src[0]);
    for (U32 i = 0; i < c.n; ++i) {
        const U8 y = U8(v[i]), cb = U8(v[i] >> 8), cr = U8(v[i] >> 16);
        const U8 uyvy[4] = {cb, y, cr, y}, yuy2[4] = {y, cb, y, cr};
        std::copy_n(c.variant % 2 ? yuy2 : uyvy, 4, pairs.begin() + 4 * std::size_t(i));
    }
    return pairs.data();
}
template <PairBlocks K>
U32 K6Every(const Call& c) {
    return K(K6Program(K6Of(c.variant), OutBits(c.variant)), SourceOf(c.variant), c.dst[0], PairsOf(c), nullptr,
             nullptr, 2 * c.n) / 2;
}
U32 K6EveryPlain(const Call& c) {
    K6Kernel(SimdTier::Plain, OrderOf(c.variant), OutBits(c.variant), K6Of(c.variant), c.dst[0], 0, PairsOf(c), 0,
             2 * c.n, 1);
    return c.n;
}

template <PairBlocks K>
U32 LutBlocks(const Call& c) {
    return K(LutProgram(LutOf(c.variant), OutBits(c.variant)), SourceOf(c.variant), c.dst[0], c.src[0], nullptr,
             nullptr, c.n);
}
U32 LutPlain(const Call& c) {
    LutKernel(SimdTier::Plain, OrderOf(c.variant), OutBits(c.variant), LutOf(c.variant), c.dst[0], 0, c.src[0], 0,
              c.n, 1);
    return c.n;
}

// 13-bit from UYVY, variant v: matrix v, channel order v % 4.
template <PairBlocks K>
U32 K13Blocks(const Call& c) {
    K13Tables scratch;
    const K13Tables& t = K13TablesFor(c.variant, scratch);
    PairProgram p = K13Program(t.bits8[c.variant % 4], t.luma_offset8, t.chroma_offset8);
    p.stream = c.variant % 2 == 1;
    return K(p, PairSource::Uyvy, c.dst[0], c.src[0], nullptr, nullptr, c.n);
}
U32 K13Plain(const Call& c) {
    K13Packed8ToRgb32(SimdTier::Plain, c.dst[0], c.src[0], c.n, 1, 4 * c.n, 2 * c.n, c.variant, U32(c.variant % 4));
    return c.n;
}

// The generic converters, variant v: matrix v % 6, channel order v % 5,
// bits {15, 16, 24, 32}[v % 4]; a packed source in order UYVY, YUY2, YVYU
// by v % 3.
constexpr int kGenericBits[] = {15, 16, 24, 32};
int GenericBits(int v) { return kGenericBits[v % 4]; }
std::size_t GenericOut(U32 n, int v) {
    return std::size_t(n) * (GenericBits(v) == 24 ? 3 : GenericBits(v) == 32 ? 4 : 2);
}
std::size_t Half(U32 n, int) { return n / 2; }
PairProgram GenericOf(int v) {
    PairProgram p;
    GenericProgram(kToRgb8[ToRgbMatrixIndex(v % 6)], GenericBits(v), ChannelOrderOf(U32(v % 5)), &p);
    p.stream = v % 8 == 7;
    return p;
}
template <PairBlocks K>
U32 PlanarBlocks(const Call& c) {
    return K(GenericOf(c.variant), PairSource::Planar8, c.dst[0], c.src[0], c.src[1], c.src[2], c.n);
}
U32 PlanarPlain(const Call& c) {
    YCbCr8ToRgbWith(SimdTier::Plain, c.dst[0], c.src[0], c.src[1], c.src[2], c.n, 1, U32(GenericOut(c.n, c.variant)),
                    c.n, c.variant % 6, U32(c.variant % 5), kChromaRowPerLine, kPlanarLayout, GenericBits(c.variant),
                    c.n / 2);
    return c.n;
}
template <PairBlocks K>
U32 PackedBlocks(const Call& c) {
    constexpr PairSource kSources[] = {PairSource::Uyvy, PairSource::Yuy2, PairSource::Yvyu};
    return K(GenericOf(c.variant), kSources[c.variant % 3], c.dst[0], c.src[0], nullptr, nullptr, c.n);
}
// The converters' division over every (Y', Cb, Cr) of 8-bit samples, variant
// v: matrix v, 32-bit pixels, pairs in UYVY order (as the 6-bit sweep above).
std::size_t TwoPixels32(U32 n, int) { return 8 * std::size_t(n); }
template <PairBlocks K>
U32 GenericEvery(const Call& c) {
    PairProgram p;
    GenericProgram(kToRgb8[ToRgbMatrixIndex(c.variant)], 32, ORDER_BGRX, &p);
    Call pairs = c;
    pairs.variant = 0;  // UYVY order
    return K(p, PairSource::Uyvy, c.dst[0], PairsOf(pairs), nullptr, nullptr, 2 * c.n) / 2;
}
U32 GenericEveryPlain(const Call& c) {
    Call pairs = c;
    pairs.variant = 0;  // UYVY order
    const U8* in = PairsOf(pairs);
    YCbCr8ToRgbWith(SimdTier::Plain, c.dst[0], in + 1, in, in + 2, 2 * c.n, 1, 8 * c.n, 4 * c.n, c.variant,
                    U32(ORDER_BGRX), kChromaRowPerLine, kPackedLayout, 32, 4 * c.n);
    return c.n;
}

// Two 4:2:0 lines at once, variant v: matrix v % 6, channel order v % 5,
// 32-bit pixels for v < 6, else 24-bit. Sources: both luma lines, Cb, Cr;
// destinations: the two lines.
using TwoLines = U32 (*)(const PairProgram&, U8* const[2], const U8* const[2], const U8*, const U8*, U32);
int TwoLinesBits(int v) { return v < 6 ? 32 : 24; }
std::size_t TwoLinesOut(U32 n, int v) { return std::size_t(n) * U32(TwoLinesBits(v) / 8); }
template <TwoLines K>
U32 TwoLineBlocks(const Call& c) {
    PairProgram p;
    GenericProgram(kToRgb8[ToRgbMatrixIndex(c.variant % 6)], TwoLinesBits(c.variant), ChannelOrderOf(U32(c.variant % 5)),
                   &p);
    U8* const dst[2] = {c.dst[0], c.dst[1]};
    const U8* const luma[2] = {c.src[0], c.src[0] + c.n};
    return K(p, dst, luma, c.src[1], c.src[2], c.n);
}
U32 TwoLinesPlain(const Call& c) {
    for (int line = 0; line < 2; ++line)
        YCbCr8ToRgbWith(SimdTier::Plain, c.dst[line], c.src[0] + line * c.n, c.src[1], c.src[2], c.n, 1,
                        U32(TwoLinesOut(c.n, c.variant)), c.n, c.variant % 6, U32(c.variant % 5), kChromaRowPerLine,
                        kPlanarLayout, TwoLinesBits(c.variant), c.n / 2);
    return c.n;
}

// The two-line kernels over every (Y', Cb, Cr): pair v of line 0 has
// Y' = v & 255, Cb = (v >> 8) & 255, Cr = v >> 16, line 1 the Y' 255 - v & 255;
// variant v: matrix v, 32-bit pixels, the two lines one after the other.
std::size_t TwoLinesEveryOut(U32 n, int) { return 16 * std::size_t(n); }
struct EveryPlanes {
    std::vector<U8> luma, cb, cr;
};
const EveryPlanes& EveryPlanesOf(const Call& c) {
    static EveryPlanes p;
    p.luma.resize(4 * std::size_t(c.n));
    p.cb.resize(c.n);
    p.cr.resize(c.n);
    const auto* v = reinterpret_cast<const std::int32_t*>(c.src[0]);
    for (U32 i = 0; i < c.n; ++i) {
        const U8 y = U8(v[i]);
        p.luma[2 * i] = p.luma[2 * i + 1] = y;
        p.luma[2 * std::size_t(c.n) + 2 * i] = p.luma[2 * std::size_t(c.n) + 2 * i + 1] = U8(255 - y);
        p.cb[i] = U8(v[i] >> 8);
        p.cr[i] = U8(v[i] >> 16);
    }
    return p;
}
template <TwoLines K>
U32 TwoLinesEvery(const Call& c) {
    PairProgram p;
    GenericProgram(kToRgb8[ToRgbMatrixIndex(c.variant)], 32, ORDER_BGRX, &p);
    const EveryPlanes& in = EveryPlanesOf(c);
    U8* const dst[2] = {c.dst[0], c.dst[0] + 8 * std::size_t(c.n)};
    const U8* const luma[2] = {in.luma.data(), in.luma.data() + 2 * std::size_t(c.n)};
    return K(p, dst, luma, in.cb.data(), in.cr.data(), 2 * c.n) / 2;
}
U32 TwoLinesEveryPlain(const Call& c) {
    const EveryPlanes& in = EveryPlanesOf(c);
    YCbCr8ToRgbWith(SimdTier::Plain, c.dst[0], in.luma.data(), in.cb.data(), in.cr.data(), 2 * c.n, 2, 8 * c.n,
                    2 * c.n, c.variant, U32(ORDER_BGRX), kChromaRowPerTwoLines, kPlanarLayout, 32, c.n);
    return c.n;
}

// v210 groups read straight into registers, variant v: the 13-bit program of
// matrix v, channel order v % 4.
U32 V210Groups(const Call& c) {
    K13Tables scratch;
    const K13Tables& t = K13TablesFor(c.variant, scratch);
    return ToRgbPairBlocksAvx512(K13Program(t.bits10[c.variant % 4], t.luma_offset10, t.chroma_offset10),
                                 PairSource::V210, c.dst[0], c.src[0], nullptr, nullptr, c.n);
}
U32 V210GroupsPlain(const Call& c) {
    const U32 line = U32(16 * ((std::size_t(c.n) + 5) / 6));
    K13V210ToRgb32(SimdTier::Plain, c.dst[0], c.src[0], c.n, 1, 4 * c.n, line, c.variant, U32(c.variant % 4));
    return c.n;
}

U32 PackedPlain(const Call& c) {
    static constexpr int kAt[3][3] = {{1, 0, 2}, {0, 1, 3}, {0, 3, 1}};  // Y', Cb, Cr of a pair
    const int* at = kAt[c.variant % 3];
    YCbCr8ToRgbWith(SimdTier::Plain, c.dst[0], c.src[0] + at[0], c.src[0] + at[1], c.src[0] + at[2], c.n, 1,
                    U32(GenericOut(c.n, c.variant)), 2 * c.n, c.variant % 6, U32(c.variant % 5), kChromaRowPerLine,
                    kPackedLayout, GenericBits(c.variant), 2 * c.n);
    return c.n;
}

}  // namespace

void AddToRgbEntries(std::vector<Entry>& table) {
    const Plane two{Per<2>};
    const std::uint32_t sse2 = kSse2BlockPixels, avx2 = kAvx2BlockPixels, avx512 = kAvx512BlockPixels;
    table.insert(table.end(), {
        {.name = "DivideBy10000", .src = {{Per<4>, 4}}, .dst = {{Per<1>}}, .plain = DividePlain,
         .tiers = {{Isa::Sse2, Divide<DivideBy10000Sse2>},
                   {Isa::Avx2, Divide<DivideBy10000Avx2>},
                   {Isa::Avx512, Divide<DivideBy10000Avx512>}},
         .large = {4096}, .fill = FillToRgbSums, .sums = ToRgbSums},
        // Room for two pair words past the last, which the tiers may write.
        {.name = "UnpackV210Pairs", .src = {{Per<16>}}, .dst = {{Per<12>, 4}, {Per<12>, 4}}, .plain = V210PairsPlain,
         .tiers = {{Isa::Sse2, V210Pairs<UnpackV210PairsSse2>}, {Isa::Avx2, V210Pairs<UnpackV210PairsAvx2>},
                   {Isa::Avx512, V210Pairs<UnpackV210PairsAvx512>}},
         .large = {1920}, .slack = 8},
        // The family kernels want a pair at least.
        {.name = "ToRgbPairBlocks 6-bit", .src = {two}, .dst = {{OutBytes}}, .plain = K6Plain,
         .tiers = {{Isa::Sse2, K6Blocks<ToRgbPairBlocksSse2>, sse2}, {Isa::Avx2, K6Blocks<ToRgbPairBlocksAvx2>, avx2},
                   {Isa::Avx512, K6Blocks<ToRgbPairBlocksAvx512>, avx512}},
         .variants = 12, .min_items = 2, .large = {1920}},
        // Only the tiers that run 6-bit programs in 16-bit words.
        {.name = "6-bit words, every sample", .src = {{Per<4>, 4}}, .dst = {{TwoPixelsOut}}, .plain = K6EveryPlain,
         .tiers = {{Isa::Avx2, K6Every<ToRgbPairBlocksAvx2>, avx2 / 2},
                   {Isa::Avx512, K6Every<ToRgbPairBlocksAvx512>, avx512 / 2}},
         .variants = 12, .min_items = 1, .max_items = 0, .sums = EverySample},
        // The tiers whose division is fused into the luma term (SSE2's is
        // DivideBy10000's, checked over every sum above).
        {.name = "Divided by 10000, every sample", .src = {{Per<4>, 4}}, .dst = {{TwoPixels32}},
         .plain = GenericEveryPlain,
         .tiers = {{Isa::Avx2, GenericEvery<ToRgbPairBlocksAvx2>, avx2 / 2},
                   {Isa::Avx512, GenericEvery<ToRgbPairBlocksAvx512>, avx512 / 2}},
         .variants = 6, .min_items = 1, .max_items = 0, .sums = EverySample},
        {.name = "Two 4:2:0 lines", .src = {{Per<2>}, {Half}, {Half}}, .dst = {{TwoLinesOut}, {TwoLinesOut}},
         .plain = TwoLinesPlain,
         .tiers = {{Isa::Avx2, TwoLineBlocks<ToRgbTwoLinesAvx2>, avx2},
                   {Isa::Avx512, TwoLineBlocks<ToRgbTwoLinesAvx512>, avx512}},
         .variants = 12, .min_items = 2, .large = {1920}},
        {.name = "Two lines divided, every sample", .src = {{Per<4>, 4}}, .dst = {{TwoLinesEveryOut}},
         .plain = TwoLinesEveryPlain,
         .tiers = {{Isa::Avx2, TwoLinesEvery<ToRgbTwoLinesAvx2>, avx2 / 2},
                   {Isa::Avx512, TwoLinesEvery<ToRgbTwoLinesAvx512>, avx512 / 2}},
         .variants = 6, .min_items = 1, .max_items = 0, .sums = EverySample},
        // Whole runs of three blocks, each register's six groups within the
        // line's whole groups: up to 255 pixels are left to the caller.
        {.name = "ToRgbPairBlocks v210", .src = {{Per<16, 6>}}, .dst = {{Per<4>}}, .plain = V210GroupsPlain,
         .tiers = {{Isa::Avx512, V210Groups, 256}}, .variants = 6, .max_items = 600, .large = {1920, 3840}},
        {.name = "ToRgbPairBlocks table", .src = {two}, .dst = {{OutBytes}}, .plain = LutPlain,
         .tiers = {{Isa::Sse2, LutBlocks<ToRgbPairBlocksSse2>, sse2},
                   {Isa::Avx2, LutBlocks<ToRgbPairBlocksAvx2>, avx2},
                   {Isa::Avx512, LutBlocks<ToRgbPairBlocksAvx512>, avx512}},
         .variants = 12, .min_items = 2, .large = {1920}},
        {.name = "ToRgbPairBlocks 13-bit", .src = {two}, .dst = {{Per<4>}}, .plain = K13Plain,
         .tiers = {{Isa::Sse2, K13Blocks<ToRgbPairBlocksSse2>, sse2},
                   {Isa::Avx2, K13Blocks<ToRgbPairBlocksAvx2>, avx2},
                   {Isa::Avx512, K13Blocks<ToRgbPairBlocksAvx512>, avx512}},
         .variants = 6, .min_items = 2, .large = {1920}},
        {.name = "ToRgbPairBlocks planar", .src = {{Per<1>}, {Half}, {Half}}, .dst = {{GenericOut}},
         .plain = PlanarPlain,
         .tiers = {{Isa::Sse2, PlanarBlocks<ToRgbPairBlocksSse2>, sse2},
                   {Isa::Avx2, PlanarBlocks<ToRgbPairBlocksAvx2>, avx2},
                   {Isa::Avx512, PlanarBlocks<ToRgbPairBlocksAvx512>, avx512}},
         .variants = 8, .large = {1920}},
        {.name = "ToRgbPairBlocks packed", .src = {two}, .dst = {{GenericOut}}, .plain = PackedPlain,
         .tiers = {{Isa::Sse2, PackedBlocks<ToRgbPairBlocksSse2>, sse2},
                   {Isa::Avx2, PackedBlocks<ToRgbPairBlocksAvx2>, avx2},
                   {Isa::Avx512, PackedBlocks<ToRgbPairBlocksAvx512>, avx512}},
         .variants = 6, .large = {1920}},
    });
}

}  // namespace kernel_harness
