// Block copies with SSE2 moves. Source and destination never overlap, so a
// byte that two moves both write gets the same value from both: runs are
// finished with one move that ends exactly at the last byte instead of a loop
// over the remainder.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "convert/simd/copy_bytes_kernels.h"

namespace lumacore {
namespace {

// Streaming stores bypass the caches. That pays only when the copy could not
// stay in the cache anyway: a copy through the cache reads and writes
// 2 x count bytes of cache lines, and once they no longer fit in the last
// level, every store first fetches a line it is about to overwrite. Measured
// on one core with a 32 MiB last-level cache: at 8 MiB ordinary stores are
// about 15% faster, at 12 MiB streaming stores are about 10% faster, and at
// 16 to 32 MiB about 40% faster; the crossover lies near 10 MiB. Full-size
// frames of 2 to 4 bytes per pixel (4 to 8 MiB at 1920x1080) stay below it.
constexpr std::uint32_t kStreamFromBytes = 10u << 20;

// Distance of the source prefetch in the streaming variant: eight cache lines
// ahead. Shorter distances arrive too late; longer ones measured no better.
constexpr std::size_t kPrefetchAhead = 512;

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

// Moves the `n` (32 or 64) bytes at the start and the `n` bytes at the end of
// a run of at least n bytes.
template <std::size_t n>
inline void CopyEnds(std::uint8_t* dst, const std::uint8_t* src, std::size_t count) {
    __m128i head[n / 16], tail[n / 16];
    for (std::size_t k = 0; k < n / 16; ++k) {
        head[k] = LoadU(src + 16 * k);
        tail[k] = LoadU(src + count - n + 16 * k);
    }
    for (std::size_t k = 0; k < n / 16; ++k) {
        StoreU(dst + 16 * k, head[k]);
        StoreU(dst + count - n + 16 * k, tail[k]);
    }
}

inline void CopyShort(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count >= 64) {
        CopyEnds<64>(dst, src, count);
    } else if (count >= 32) {
        CopyEnds<32>(dst, src, count);
    } else if (count >= 16) {
        const __m128i head = LoadU(src), tail = LoadU(src + count - 16);
        StoreU(dst, head);
        StoreU(dst + count - 16, tail);
    } else if (count >= 8) {
        const __m128i head = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src));
        const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + count - 8));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), head);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + count - 8), tail);
    } else if (count >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, src, 4);
        std::memcpy(&tail, src + count - 4, 4);
        std::memcpy(dst, &head, 4);
        std::memcpy(dst + count - 4, &tail, 4);
    } else if (count > 0) {
        // 1 to 3 bytes: the first, the middle and the last cover them all.
        dst[0] = src[0];
        dst[count / 2] = src[count / 2];
        dst[count - 1] = src[count - 1];
    }
}

// count >= 128. The first 16 bytes go with an unaligned store; from the next
// 16-byte boundary of the destination the loop moves 64 bytes per step with
// aligned stores (the loads stay unaligned: source and destination rarely
// share an alignment); the last 64 bytes go with unaligned stores that end at
// the last byte.
template <bool kStream, bool kPrefetch>
void CopyLong(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    StoreU(dst, LoadU(src));
    const std::size_t skip = 16 - (reinterpret_cast<std::uintptr_t>(dst) & 15);
    std::uint8_t* d = dst + skip;
    const std::uint8_t* s = src + skip;
    std::size_t left = count - skip;
    while (left > 64) {
        if constexpr (kPrefetch) {
            _mm_prefetch(reinterpret_cast<const char*>(s + kPrefetchAhead), _MM_HINT_NTA);
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
    const __m128i a = LoadU(src + count - 64), b = LoadU(src + count - 48);
    const __m128i c = LoadU(src + count - 32), e = LoadU(src + count - 16);
    StoreU(dst + count - 64, a);
    StoreU(dst + count - 48, b);
    StoreU(dst + count - 32, c);
    StoreU(dst + count - 16, e);
    if constexpr (kStream) _mm_sfence();  // streaming stores are weakly ordered
}

// Both ends 128-byte aligned, count >= 128: whole blocks of eight aligned
// loads and eight aligned stores, then the remainder.
template <bool kStream>
void CopyAlignedBlocks(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    const std::size_t whole = count & ~std::size_t(127);
    for (std::size_t i = 0; i < whole; i += 128) {
        __m128i v[8];
        for (std::size_t k = 0; k < 8; ++k) v[k] = LoadA(src + i + 16 * k);
        for (std::size_t k = 0; k < 8; ++k) StoreA<kStream>(dst + i + 16 * k, v[k]);
    }
    CopyShort(dst + whole, src + whole, std::uint32_t(count - whole));
    if constexpr (kStream) _mm_sfence();
}

}  // namespace

void CopyShortSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) { CopyShort(dst, src, count); }

void CopyBlocks64Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count < 128) {
        CopyShort(dst, src, count);
    } else if (count < kStreamFromBytes) {
        CopyLong<false, false>(dst, src, count);
    } else {
        CopyLong<true, false>(dst, src, count);
    }
}

void CopyAligned128Sse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count < 128) {
        CopyShort(dst, src, count);
    } else if (((reinterpret_cast<std::uintptr_t>(dst) | reinterpret_cast<std::uintptr_t>(src)) & 127) != 0) {
        CopyBlocks64Sse2(dst, src, count);
    } else if (count < kStreamFromBytes) {
        CopyAlignedBlocks<false>(dst, src, count);
    } else {
        CopyAlignedBlocks<true>(dst, src, count);
    }
}

void CopyStreamingSse2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t count) {
    if (count < 128) {
        CopyShort(dst, src, count);
    } else if (count < kStreamFromBytes) {
        CopyLong<false, true>(dst, src, count);
    } else {
        CopyLong<true, true>(dst, src, count);
    }
}

}  // namespace lumacore
