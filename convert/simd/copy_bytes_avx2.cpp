// Block copies with AVX2 moves: the SSE2 kernels' plan at twice the width,
// which doubles what a core copies per cycle while the data is in its caches
// (measured in the benchmarks' short and line-sized copies).
#include <immintrin.h>

#include <cstddef>

#include "engine/simd/isa_namespace.h"
#include "convert/simd/copy_bytes_plan.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m256i LoadU(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline __m256i LoadA(const std::uint8_t* p) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(p)); }
inline void StoreU(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

template <bool kStream>
inline void StoreA(std::uint8_t* p, __m256i v) {
    if constexpr (kStream) {
        _mm256_stream_si256(reinterpret_cast<__m256i*>(p), v);
    } else {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
    }
}

inline void Copy128(std::uint8_t* dst, const std::uint8_t* src) {
    const __m256i a = LoadU(src), b = LoadU(src + 32), c = LoadU(src + 64), d = LoadU(src + 96);
    StoreU(dst, a);
    StoreU(dst + 32, b);
    StoreU(dst + 64, c);
    StoreU(dst + 96, d);
}

// Any count up to 256, as in the SSE2 kernel: the first and the last 128, 64,
// 32, 16, 8, 4 or 2 bytes, whichever fits, or the one byte.
inline void CopyShort(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    if (count > 128) {
        // All loads before the stores: a store cannot then hold up a load
        // that the processor is unsure it overlaps.
        const __m256i a = LoadU(src), b = LoadU(src + 32), c = LoadU(src + 64), d = LoadU(src + 96);
        const __m256i e = LoadU(src + count - 128), f = LoadU(src + count - 96);
        const __m256i g = LoadU(src + count - 64), h = LoadU(src + count - 32);
        StoreU(dst, a);
        StoreU(dst + 32, b);
        StoreU(dst + 64, c);
        StoreU(dst + 96, d);
        StoreU(dst + count - 128, e);
        StoreU(dst + count - 96, f);
        StoreU(dst + count - 64, g);
        StoreU(dst + count - 32, h);
    } else if (count >= 64) {
        const __m256i a = LoadU(src), b = LoadU(src + 32);
        const __m256i c = LoadU(src + count - 64), d = LoadU(src + count - 32);
        StoreU(dst, a);
        StoreU(dst + 32, b);
        StoreU(dst + count - 64, c);
        StoreU(dst + count - 32, d);
    } else if (count >= 32) {
        const __m256i head = LoadU(src), tail = LoadU(src + count - 32);
        StoreU(dst, head);
        StoreU(dst + count - 32, tail);
    } else if (count >= 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), head);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + count - 16), tail);
    } else {
        copy_plan::CopyUnder16(dst, src, count);
    }
}

// count > 256: an unaligned first 32 bytes, then 128 bytes per step from
// the destination's next 32-byte boundary, then the last 128 bytes ending at
// the last byte.
template <bool kStream, bool kPrefetch>
void CopyLong(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    StoreU(dst, LoadU(src));
    const std::size_t skip = 32 - (reinterpret_cast<std::uintptr_t>(dst) & 31);
    std::uint8_t* d = dst + skip;
    const std::uint8_t* s = src + skip;
    std::size_t left = count - skip;
    while (left > 128) {
        if constexpr (kPrefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(s + kCopyPrefetchAhead), _MM_HINT_NTA);
            _mm_prefetch(reinterpret_cast<const char*>(s + kCopyPrefetchAhead + 64), _MM_HINT_NTA);
        }
        const __m256i a = LoadU(s), b = LoadU(s + 32), c = LoadU(s + 64), e = LoadU(s + 96);
        StoreA<kStream>(d, a);
        StoreA<kStream>(d + 32, b);
        StoreA<kStream>(d + 64, c);
        StoreA<kStream>(d + 96, e);
        d += 128;
        s += 128;
        left -= 128;
    }
    Copy128(dst + count - 128, src + count - 128);
    if constexpr (kStream) _mm_sfence();  // streaming stores are weakly ordered
}

// Both ends 128-byte aligned, count > 256.
template <bool kStream>
void CopyAlignedBlocks(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    const std::size_t whole = count & ~std::size_t(127);
    for (std::size_t i = 0; i < whole; i += 128) {
        const __m256i a = LoadA(src + i), b = LoadA(src + i + 32), c = LoadA(src + i + 64), d = LoadA(src + i + 96);
        StoreA<kStream>(dst + i, a);
        StoreA<kStream>(dst + i + 32, b);
        StoreA<kStream>(dst + i + 64, c);
        StoreA<kStream>(dst + i + 96, d);
    }
    CopyShort(dst + whole, src + whole, count - whole);
    if constexpr (kStream) _mm_sfence();
}

// This tier's moves, for the shared plan.
struct Moves {
    static void Short(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) { CopyShort(dst, src, count); }
    template <bool kStream, bool kPrefetch>
    static void Long(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
        CopyLong<kStream, kPrefetch>(dst, src, count);
    }
    template <bool kStream>
    static void AlignedBlocks(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
        CopyAlignedBlocks<kStream>(dst, src, count);
    }
    static void Stream64(std::uint8_t* dst, const std::uint8_t* src) {
        const __m256i a = LoadU(src), b = LoadU(src + 32);
        StoreA<true>(dst, a);
        StoreA<true>(dst + 32, b);
    }
};

}  // namespace
}  // namespace LUMACORE_ISA

void CopyShortAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) { CopyShort(dst, src, count); }

void CopyBlocks64Avx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Blocks64<Moves>(dst, src, count);
}

void CopyAligned128Avx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Aligned128<Moves>(dst, src, count);
}

void CopyStreamingAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Streaming<Moves>(dst, src, count);
}

void CopyLinesStreamingAvx2(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                            std::ptrdiff_t src_step, std::uint32_t count, std::uint32_t lines) {
    copy_plan::LinesStreaming<Moves>(dst, dst_step, src, src_step, count, lines);
}

void InstallCopyAvx2(CopyKernels& k) {
    k.short_copy = CopyShortAvx2;
    k.variants[int(CopyVariant::Blocks64)] = CopyBlocks64Avx2;
    k.variants[int(CopyVariant::Aligned128)] = CopyAligned128Avx2;
    k.variants[int(CopyVariant::Streaming)] = CopyStreamingAvx2;
    k.streaming_lines = CopyLinesStreamingAvx2;
}

}  // namespace lumacore
