// AVX2 v210 packing: two groups a register, one per 128-bit lane (a dword
// permute of one 32-byte load puts bytes 0-15 in the low lane and 12-27 in
// the high one), then the SSSE3 scheme in both lanes at once.
#include "engine/simd/isa_namespace.h"
#include "convert/simd/v210_kernels.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

namespace lumacore {
inline namespace LUMACORE_ISA {
namespace {

inline __m256i Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store(std::uint8_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

inline __m256i PackTwo(const std::uint8_t* src) {
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i outer = _mm256_setr_epi8(0, -1, 2, -1, 3, -1, 5, -1, 6, -1, 8, -1, 9, -1, 11, -1,  //
                                           0, -1, 2, -1, 3, -1, 5, -1, 6, -1, 8, -1, 9, -1, 11, -1);
    const __m256i middle = _mm256_setr_epi8(-1, 1, -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1,  //
                                            -1, 1, -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1);
    const __m256i scale = _mm256_setr_epi16(4, 64, 4, 64, 4, 64, 4, 64, 4, 64, 4, 64, 4, 64, 4, 64);
    const __m256i x = _mm256_permutevar8x32_epi32(Load(src), spread);
    const __m256i ends = _mm256_mullo_epi16(_mm256_shuffle_epi8(x, outer), scale);
    return _mm256_or_si256(ends, _mm256_slli_epi32(_mm256_shuffle_epi8(x, middle), 4));
}

}  // namespace
}  // namespace LUMACORE_ISA

std::uint32_t PackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    // Two groups a step; a step loads 32 bytes for its 24, so it runs while
    // those lie within the groups. The SSSE3 kernel takes the rest.
    const std::uint32_t src_bytes = 12 * groups;
    std::uint32_t g = 0;
    for (; 12 * g + 56 <= src_bytes; g += 4) {
        const __m256i a = PackTwo(src + 12 * g), b = PackTwo(src + 12 * g + 24);
        Store(dst + 16 * g, a);
        Store(dst + 16 * g + 32, b);
    }
    for (; 12 * g + 32 <= src_bytes; g += 2) Store(dst + 16 * g, PackTwo(src + 12 * g));
    return g + PackGroupsSsse3(dst + 16 * g, src + 12 * g, groups - g);
}

}  // namespace lumacore

#else  // no AVX2 on this architecture: the tier is never chosen

namespace lumacore {

std::uint32_t PackGroupsAvx2(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t groups) {
    return PackGroupsPlain(dst, src, groups);
}

}  // namespace lumacore

#endif

namespace lumacore {

void InstallV210PackAvx2(V210PackKernels& k) { k.groups = PackGroupsAvx2; }

}  // namespace lumacore
