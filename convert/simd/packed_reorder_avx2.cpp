// AVX2 pair reorders: one byte shuffle per 32 bytes, the mask built from the
// plain kernel's byte order table.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/packed_reorder_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "convert/simd/packed_reorder_plan.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
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
inline __m256i Mask() {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kMask<R>.bytes));
}

inline __m256i Load(const std::uint8_t* src) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)); }

inline void Step32(std::uint8_t* dst, const std::uint8_t* src, __m256i mask) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_shuffle_epi8(Load(src), mask));
}

// Through the cache. Short tails are finished by a step that overlaps pairs
// already written, rewriting them with the same values.
template <Reorder R>
void CachedRun(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) {
    const __m256i mask = Mask<R>();
    if (n >= 32) {
        std::size_t i = 0;
        for (; i + 128 <= n; i += 128) {
            const __m256i a = Load(src + i), b = Load(src + i + 32), c = Load(src + i + 64), d = Load(src + i + 96);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_shuffle_epi8(a, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 32), _mm256_shuffle_epi8(b, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 64), _mm256_shuffle_epi8(c, mask));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 96), _mm256_shuffle_epi8(d, mask));
        }
        for (; i + 32 <= n; i += 32) Step32(dst + i, src + i, mask);
        if (i < n) Step32(dst + n - 32, src + n - 32, mask);
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

// This tier's moves, for the shared line plan.
template <Reorder R>
struct Moves {
    static void Cached(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) { CachedRun<R>(dst, src, n); }
    static void Stream64(std::uint8_t* d, const std::uint8_t* s) {
        const __m256i mask = Mask<R>();
        const __m256i a = Load(s), b = Load(s + 32);
        _mm256_stream_si256(reinterpret_cast<__m256i*>(d), _mm256_shuffle_epi8(a, mask));
        _mm256_stream_si256(reinterpret_cast<__m256i*>(d + 32), _mm256_shuffle_epi8(b, mask));
    }
};

}  // namespace
}  // namespace LUMACORE_ISA

void ReorderLinesAvx2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream) {
    reorder_plan::Lines<Moves>(reorder, dst, dst_step, src, src_step, pairs, lines, stream);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

void ReorderLinesAvx2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream) {
    ReorderLinesPlain(reorder, dst, dst_step, src, src_step, pairs, lines, stream);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallReorderAvx2(ReorderKernels& k) { k.lines = ReorderLinesAvx2; }

}  // namespace lumacore
