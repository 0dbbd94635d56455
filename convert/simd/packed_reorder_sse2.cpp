// SSE2 pair reorders: every reorder is a pair of lane shifts and a merge, so
// no byte shuffle instruction is needed.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/packed_reorder_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "convert/simd/packed_reorder_plan.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

template <Reorder R>
inline __m128i Apply(__m128i v) {
    if constexpr (R == Reorder::Swap16) {
        return _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    } else if constexpr (R == Reorder::SwapChroma) {
        // Keep the Y bytes (0 and 2); bytes 1 and 3 come from the pair with its
        // 16-bit halves exchanged.
        const __m128i y_bytes = _mm_set1_epi32(0x00FF00FF);
        const __m128i halves_swapped = _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xB1), 0xB1);
        return _mm_or_si128(_mm_and_si128(v, y_bytes), _mm_andnot_si128(y_bytes, halves_swapped));
    } else if constexpr (R == Reorder::RotateFront) {
        return _mm_or_si128(_mm_srli_epi32(v, 8), _mm_slli_epi32(v, 24));
    } else {
        return _mm_or_si128(_mm_slli_epi32(v, 8), _mm_srli_epi32(v, 24));
    }
}

inline __m128i Load(const std::uint8_t* src) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(src)); }

template <Reorder R>
inline void Step16(std::uint8_t* dst, const std::uint8_t* src) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), Apply<R>(Load(src)));
}

// Through the cache. Short tails are finished by a step that overlaps pairs
// already written, rewriting them with the same values.
template <Reorder R>
void CachedRun(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) {
    if (n >= 16) {
        std::size_t i = 0;
        for (; i + 64 <= n; i += 64) {
            const __m128i a = Load(src + i), b = Load(src + i + 16), c = Load(src + i + 32), d = Load(src + i + 48);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Apply<R>(a));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 16), Apply<R>(b));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 32), Apply<R>(c));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 48), Apply<R>(d));
        }
        for (; i + 16 <= n; i += 16) Step16<R>(dst + i, src + i);
        if (i < n) Step16<R>(dst + n - 16, src + n - 16);
    } else if (n >= 8) {
        // 2 or 3 pairs: two overlapping 8-byte steps.
        const __m128i head = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src));
        const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + n - 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), Apply<R>(head));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + n - 8), Apply<R>(tail));
    } else if (n == 4) {
        _mm_storeu_si32(dst, Apply<R>(_mm_loadu_si32(src)));
    }
}

// This tier's moves, for the shared line plan.
template <Reorder R>
struct Moves {
    static void Cached(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) { CachedRun<R>(dst, src, n); }
    static void Stream64(std::uint8_t* d, const std::uint8_t* s) {
        const __m128i a = Load(s), b = Load(s + 16), c = Load(s + 32), e = Load(s + 48);
        _mm_stream_si128(reinterpret_cast<__m128i*>(d), Apply<R>(a));
        _mm_stream_si128(reinterpret_cast<__m128i*>(d + 16), Apply<R>(b));
        _mm_stream_si128(reinterpret_cast<__m128i*>(d + 32), Apply<R>(c));
        _mm_stream_si128(reinterpret_cast<__m128i*>(d + 48), Apply<R>(e));
    }
};

}  // namespace
}  // namespace LUMACORE_ISA

void ReorderLinesSse2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream) {
    reorder_plan::Lines<Moves>(reorder, dst, dst_step, src, src_step, pairs, lines, stream);
}

}  // namespace lumacore

#else  // no SSE2 on this architecture: the tier is never chosen

namespace lumacore {

void ReorderLinesSse2(Reorder reorder, std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                      std::ptrdiff_t src_step, std::uint32_t pairs, std::uint32_t lines, bool stream) {
    ReorderLinesPlain(reorder, dst, dst_step, src, src_step, pairs, lines, stream);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallReorderSse2(ReorderKernels& k) { k.lines = ReorderLinesSse2; }

}  // namespace lumacore
