// Block copies with SSE2 moves. Source and destination never overlap, so a
// byte that two moves both write gets the same value from both: runs are
// finished with one move that ends exactly at the last byte instead of a loop
// over the remainder.
#include <emmintrin.h>

#include <cstddef>

#include "engine/simd/isa_namespace.h"
#include "convert/simd/copy_bytes_plan.h"

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m128i LoadU(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i LoadA(const std::uint8_t* p) { return _mm_load_si128(reinterpret_cast<const __m128i*>(p)); }
inline void StoreU(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

template <bool kStream>
inline void StoreA(std::uint8_t* p, __m128i v) {
    if constexpr (kStream) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(p), v);
    } else {
        _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    }
}

// The 64 bytes from p, unaligned at both ends.
inline void Copy64(std::uint8_t* dst, const std::uint8_t* src) {
    const __m128i a = LoadU(src), b = LoadU(src + 16), c = LoadU(src + 32), d = LoadU(src + 48);
    StoreU(dst, a);
    StoreU(dst + 16, b);
    StoreU(dst + 32, c);
    StoreU(dst + 48, d);
}

// Any count up to 256: the first and the last 128, 64, 32, 16, 8, 4 or 2
// bytes, whichever fits, or the one byte. Without a loop or an alignment
// test, short copies take no branch that their addresses decide.
inline void CopyShort(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    if (count > 128) {
        Copy64(dst, src);
        Copy64(dst + 64, src + 64);
        Copy64(dst + count - 128, src + count - 128);
        Copy64(dst + count - 64, src + count - 64);
    } else if (count >= 64) {
        Copy64(dst, src);
        Copy64(dst + count - 64, src + count - 64);
    } else if (count >= 32) {
        const __m128i a = LoadU(src), b = LoadU(src + 16);
        const __m128i c = LoadU(src + count - 32), d = LoadU(src + count - 16);
        StoreU(dst, a);
        StoreU(dst + 16, b);
        StoreU(dst + count - 32, c);
        StoreU(dst + count - 16, d);
    } else if (count >= 16) {
        const __m128i head = LoadU(src), tail = LoadU(src + count - 16);
        StoreU(dst, head);
        StoreU(dst + count - 16, tail);
    } else {
        copy_plan::CopyUnder16(dst, src, count);
    }
}

// count > 256. The first 16 bytes go with an unaligned store; from the next
// 16-byte boundary of the destination the loop moves 64 bytes per step with
// aligned stores (the loads stay unaligned: source and destination rarely
// share an alignment); the last 64 bytes go with unaligned stores that end at
// the last byte.
template <bool kStream, bool kPrefetch>
void CopyLong(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    StoreU(dst, LoadU(src));
    const std::size_t skip = 16 - (reinterpret_cast<std::uintptr_t>(dst) & 15);
    std::uint8_t* d = dst + skip;
    const std::uint8_t* s = src + skip;
    std::size_t left = count - skip;
    while (left > 64) {
        if constexpr (kPrefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(s + kCopyPrefetchAhead), _MM_HINT_NTA);
        }
        const __m128i a = LoadU(s), b = LoadU(s + 16), c = LoadU(s + 32), e = LoadU(s + 48);
        StoreA<kStream>(d, a);
        StoreA<kStream>(d + 16, b);
        StoreA<kStream>(d + 32, c);
        StoreA<kStream>(d + 48, e);
        d += 64;
        s += 64;
        left -= 64;
    }
    Copy64(dst + count - 64, src + count - 64);
    if constexpr (kStream) _mm_sfence();  // streaming stores are weakly ordered
}

// Both ends 128-byte aligned, count > 256: whole blocks of eight aligned
// loads and eight aligned stores, then the remainder.
template <bool kStream>
void CopyAlignedBlocks(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    const std::size_t whole = count & ~std::size_t(127);
    for (std::size_t i = 0; i < whole; i += 128) {
        const __m128i a = LoadA(src + i), b = LoadA(src + i + 16), c = LoadA(src + i + 32), d = LoadA(src + i + 48);
        const __m128i e = LoadA(src + i + 64), f = LoadA(src + i + 80), g = LoadA(src + i + 96), h = LoadA(src + i + 112);
        StoreA<kStream>(dst + i, a);
        StoreA<kStream>(dst + i + 16, b);
        StoreA<kStream>(dst + i + 32, c);
        StoreA<kStream>(dst + i + 48, d);
        StoreA<kStream>(dst + i + 64, e);
        StoreA<kStream>(dst + i + 80, f);
        StoreA<kStream>(dst + i + 96, g);
        StoreA<kStream>(dst + i + 112, h);
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
        const __m128i a = LoadU(src), b = LoadU(src + 16), c = LoadU(src + 32), d = LoadU(src + 48);
        StoreA<true>(dst, a);
        StoreA<true>(dst + 16, b);
        StoreA<true>(dst + 32, c);
        StoreA<true>(dst + 48, d);
    }
};

}  // namespace
}  // namespace LUMACORE_ISA

void CopyShortSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) { CopyShort(dst, src, count); }

void CopyBlocks64Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Blocks64<Moves>(dst, src, count);
}

void CopyAligned128Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Aligned128<Moves>(dst, src, count);
}

void CopyStreamingSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    copy_plan::Streaming<Moves>(dst, src, count);
}

void CopyLinesStreamingSse2(std::uint8_t* dst, std::ptrdiff_t dst_step, const std::uint8_t* src,
                            std::ptrdiff_t src_step, std::uint32_t count, std::uint32_t lines) {
    copy_plan::LinesStreaming<Moves>(dst, dst_step, src, src_step, count, lines);
}

void InstallCopySse2(CopyKernels& k) {
    k.short_copy = CopyShortSse2;
    k.variants[int(CopyVariant::Blocks64)] = CopyBlocks64Sse2;
    k.variants[int(CopyVariant::Aligned128)] = CopyAligned128Sse2;
    k.variants[int(CopyVariant::Streaming)] = CopyStreamingSse2;
    k.streaming_lines = CopyLinesStreamingSse2;
}

}  // namespace lumacore
