// AVX-512 Y'CbCr to RGB: the pair pipeline on 512-bit registers, for
// processors and systems that have AVX-512 F and BW. The file carries its
// own instruction-set attribute: the build compiles it like plain code, and
// nothing here runs unless the processor check passes.
#include "colour/simd/to_rgb_simd.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)

#pragma GCC target("avx2,avx512f,avx512bw")
// GCC 12's own AVX-512 headers pass undefined registers as the unused
// merge source of unmasked conversions and permutes, and then warn about it.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "colour/simd/to_rgb_isa_avx512.h"
#include "colour/simd/to_rgb_pipeline.h"
#include "platform/cpuid.h"

namespace lumacore {
namespace {

std::uint64_t EnabledStateComponents() {
    std::uint32_t low, high;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return std::uint64_t(high) << 32 | low;
}

}  // namespace

bool HostHasAvx512() {
    CpuidRegisters r{};
    if (!PlatformCpuid(0, &r) || r.eax < 7) return false;
    PlatformCpuid(1, &r);
    const bool os_saves_state = (r.ecx >> 27) & 1u;
    if (!os_saves_state) return false;
    // SSE, AVX, opmask and both halves of the upper ZMM state.
    if ((EnabledStateComponents() & 0xE6u) != 0xE6u) return false;
    PlatformCpuid(7, &r);
    const bool f = (r.ebx >> 16) & 1u, bw = (r.ebx >> 30) & 1u;
    return f && bw;
}

std::uint32_t ToRgbPairBlocksAvx512(const PairProgram& program, PairSource source, std::uint8_t* dst,
                                    const void* a, const void* b, const void* c, std::uint32_t pixels) {
    return to_rgb_pipeline::Run<to_rgb_pipeline::Avx512>(program, source, dst, a, b, c, pixels);
}

void DivideBy10000Avx512(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    to_rgb_pipeline::DivideBy10000<to_rgb_pipeline::Avx512>(sums, out, count);
}

}  // namespace lumacore

#else  // no AVX-512 here: never chosen

namespace lumacore {

bool HostHasAvx512() { return false; }
std::uint32_t ToRgbPairBlocksAvx512(const PairProgram&, PairSource, std::uint8_t*, const void*, const void*,
                                    const void*, std::uint32_t) {
    return 0;
}
void DivideBy10000Avx512(const std::int32_t* sums, std::uint8_t* out, std::uint32_t count) {
    DivideBy10000Sse2(sums, out, count);
}

}  // namespace lumacore

#endif
