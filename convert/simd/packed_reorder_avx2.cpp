// AVX2 pair reorders: one byte shuffle per 32 bytes, the mask built from the
// plain kernel's byte order table.
#include "convert/simd/packed_reorder_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstddef>

namespace lumacore {
namespace {

struct ShuffleMask {
    std::uint8_t bytes[32];
};

// vpshufb picks within each 16-byte lane, so the mask names bytes of the lane.
template <Reorder R>
constexpr ShuffleMask MakeMask() {
    ShuffleMask m{};
    for (int j = 0; j < 32; ++j) m.bytes[j] = std::uint8_t((j % 16) / 4 * 4 + kReorderOrder[int(R)][j % 4]);
    return m;
}

template <Reorder R>
constexpr ShuffleMask kMask = MakeMask<R>();

template <Reorder R>
void Run(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
    const std::size_t n = std::size_t(pairs) * 4;
    const __m256i mask = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kMask<R>.bytes));
    if (n >= 32) {
        std::size_t i = 0;
        for (; i + 128 <= n; i += 128) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 32));
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 64));
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 96));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_shuffle_epi8(a, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 32), _mm256_shuffle_epi8(b, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 64), _mm256_shuffle_epi8(c, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 96), _mm256_shuffle_epi8(d, mask));
        }
        for (; i + 32 <= n; i += 32) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_shuffle_epi8(a, mask));
        }
        // The last 4 to 28 bytes: one more step ending at the last pair,
        // rewriting a few pairs with the same values.
        if (i < n) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + n - 32));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + n - 32), _mm256_shuffle_epi8(a, mask));
        }
        return;
    }
    // Fewer than 8 pairs: two overlapping steps of the widest size that fits.
    const __m128i mask128 = _mm256_castsi256_si128(mask);
    if (n >= 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + n - 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(head, mask128));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + n - 16), _mm_shuffle_epi8(tail, mask128));
    } else if (n >= 8) {
        const __m128i head = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src));
        const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + n - 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_shuffle_epi8(head, mask128));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + n - 8), _mm_shuffle_epi8(tail, mask128));
    } else if (n == 4) {
        _mm_storeu_si32(dst, _mm_shuffle_epi8(_mm_loadu_si32(src), mask128));
    }
}

}  // namespace

void ReorderPairsAvx2(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
    switch (reorder) {
        case Reorder::Swap16: return Run<Reorder::Swap16>(dst, src, pairs);
        case Reorder::SwapChroma: return Run<Reorder::SwapChroma>(dst, src, pairs);
        case Reorder::RotateFront: return Run<Reorder::RotateFront>(dst, src, pairs);
        case Reorder::RotateBack: return Run<Reorder::RotateBack>(dst, src, pairs);
    }
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

void ReorderPairsAvx2(Reorder reorder, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t pairs) {
    ReorderPairsPlain(reorder, dst, src, pairs);
}

}  // namespace lumacore

#endif
