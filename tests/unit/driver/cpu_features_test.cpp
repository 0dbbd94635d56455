// Processor feature detection from recorded CPUID register values.
#include <cstring>
#include <map>

#include "tests/unit/support/driver_fixture.h"

namespace lumacore_test {
namespace {

// A recorded processor: the registers of each leaf it answers.
struct FakeProcessor {
    bool has_cpuid = true;
    std::map<std::uint32_t, CpuidRegisters> leaves;
};
FakeProcessor* g_processor = nullptr;

bool FakeCpuid(std::uint32_t leaf, CpuidRegisters* out) {
    if (!g_processor->has_cpuid) return false;
    auto it = g_processor->leaves.find(leaf);
    *out = it == g_processor->leaves.end() ? CpuidRegisters{} : it->second;
    return true;
}

constexpr std::uint32_t Edx(std::initializer_list<int> bits) {
    std::uint32_t v = 0;
    for (int b : bits) v |= 1u << b;
    return v;
}

// Leaf 0 with a 12-character vendor string (EBX, EDX, ECX).
CpuidRegisters Vendor(std::uint32_t max_leaf, const char* vendor) {
    CpuidRegisters r{max_leaf, 0, 0, 0};
    std::memcpy(&r.ebx, vendor + 0, 4);
    std::memcpy(&r.edx, vendor + 4, 4);
    std::memcpy(&r.ecx, vendor + 8, 4);
    return r;
}

FakeProcessor Processor(const char* vendor, std::uint32_t signature, std::uint32_t std_edx,
                        std::uint32_t max_extended, std::uint32_t ext_edx) {
    FakeProcessor p;
    p.leaves[0] = Vendor(2, vendor);
    p.leaves[1] = {signature, 0, 0, std_edx};
    p.leaves[0x80000000u] = {max_extended, 0, 0, 0};
    p.leaves[0x80000001u] = {0, 0, 0, ext_edx};
    return p;
}

// Leaf 1 EDX bits: TSC 4, MTRR 12, CMOV 15, MMX 23, SSE 25, SSE2 26.
// Leaf 0x80000001 EDX bits: AMD MMX extensions 22, 3DNow! extensions 30, 3DNow! 31.

class CpuFeaturesTest : public DriverTest {
   protected:
    // Runs the first-use rule on `p` from a process that has detected nothing.
    void FirstUse(FakeProcessor& p) {
        lumacore::ResetProcessorFeaturesForTesting();
        g_processor = &p;
        lumacore::SetCpuidReaderForTesting(&FakeCpuid);
        lumacore::EnsureProcessorFeatures();
    }
    void TearDown() override {
        DriverTest::TearDown();
        g_processor = nullptr;
    }
};

std::uint32_t Level() { return lumacore::SimdLevel.load(); }

// Recorded processors: the flags and level the first-use rule gives them.
TEST_F(CpuFeaturesTest, FlagsAndLevelOfRecordedProcessors) {
    constexpr std::uint32_t kBase = 0x1 | 0x2 | 0x10;  // CPUID, standard leaves, TSC
    const std::uint32_t sse2 = Edx({4, 12, 15, 23, 25, 26}), amd_ext = Edx({22, 23, 30, 31});
    struct Case {
        const char* what;
        FakeProcessor p;
        std::uint32_t flags, level;
    };
    FakeProcessor leaf0 = Processor("GenuineIntel", 0x543, Edx({4, 23, 25, 26}), 0x80000008u, Edx({31}));
    leaf0.leaves[0] = Vendor(0, "GenuineIntel");
    FakeProcessor none;
    none.has_cpuid = false;
    const Case cases[] = {
        {"Pentium 4", Processor("GenuineIntel", 0xF29, sse2, 0x80000004u, 0),
         kBase | 0x4 | 0x20 | 0x40 | 0x200 | 0x400 | 0x1000 | 0x2000 | 0x4000, 4},
        {"MMX only", Processor("GenuineIntel", 0x543, Edx({4, 23}), 0, 0), kBase | 0x20, 2},
        {"nothing", Processor("GenuineIntel", 0x52C, Edx({4}), 0, 0), kBase, 1},
        // 3DNow! (level 5) is never chosen; AMD's signature range 0x588-0x5FF sets bit 11.
        {"K6-2", Processor("AuthenticAMD", 0x58C, Edx({4, 23}), 0x80000005u, Edx({23, 31})),
         kBase | 0x4 | 0x20 | 0x80 | 0x800, 2},
        {"Athlon: AMD MMX extensions give bit 9 alone",
         Processor("AuthenticAMD", 0x621, Edx({4, 15, 23}), 0x80000008u, amd_ext),
         kBase | 0x4 | 0x20 | 0x40 | 0x80 | 0x100 | 0x200, 2},
        {"Athlon 64", Processor("AuthenticAMD", 0xF4A, sse2, 0x80000018u, amd_ext),
         kBase | 0x4 | 0x20 | 0x40 | 0x80 | 0x100 | 0x200 | 0x400 | 0x1000 | 0x2000 | 0x4000, 4},
        // Other vendors never get the AMD-only bits, whatever leaf 0x80000001 says.
        {"lower-case vendor", Processor("authenticamd", 0x5A0, Edx({4, 23}), 0x80000008u, Edx({22, 30, 31})),
         kBase | 0x4 | 0x20 | 0x80, 2},
        // No extended leaf above 0x80000000: no bit 2, no 3DNow!, no range.
        {"no extended leaves", Processor("AuthenticAMD", 0x58C, Edx({23}), 0x80000000u, Edx({22, 30, 31})),
         0x1 | 0x2 | 0x20, 2},
        {"no standard leaf beyond 0", leaf0, 0x1, 1},
        {"no CPUID", none, 0, 1},
    };
    for (const Case& c : cases) {
        FakeProcessor p = c.p;
        FirstUse(p);
        EXPECT_EQ(CPUFeatureFlags, c.flags) << c.what;
        EXPECT_EQ(Level(), c.level) << c.what;
        EXPECT_EQ(CheckMMX(), c.level >= 2 ? 1 : 0) << c.what;
    }
}

// The vector tiers of recorded processors, from CPUID leaves 1 and 7 and XCR0:
// a processor or OS short of any piece of a tier gets the tier below.
TEST(VectorFeatures, TiersOfRecordedProcessors) {
    using namespace lumacore;
    const std::uint32_t p4_edx = Edx({25, 26}), core2_ecx = Edx({0, 9});
    const std::uint32_t avx_ecx = core2_ecx | Edx({12, 27, 28});  // FMA, OSXSAVE, AVX
    const std::uint32_t zen4_ebx = Edx({5, 16, 17, 30, 31}), zen4_ecx = Edx({1, 11});
    struct Case {
        const char* what;
        CpuidRegisters leaf1, leaf7;
        std::uint64_t xcr0;
        std::uint32_t features;
    };
    const Case cases[] = {
        {"Pentium III", {0, 0, 0, Edx({25})}, {}, 0, 0},
        {"Pentium 4", {0, 0, 0, p4_edx}, {}, 0, VEC_SSE2},
        {"Core 2", {0, 0, core2_ecx, p4_edx}, {}, 0, VEC_SSE2 | VEC_SSSE3},
        {"Haswell", {0, 0, avx_ecx, p4_edx}, {0, Edx({5}), 0, 0}, 0x7, VEC_SSE2 | VEC_SSSE3 | VEC_AVX2},
        {"AVX2 without FMA", {0, 0, avx_ecx & ~Edx({12}), p4_edx}, {0, Edx({5}), 0, 0}, 0x7, VEC_SSE2 | VEC_SSSE3},
        {"AVX2, OS without YMM state", {0, 0, avx_ecx, p4_edx}, {0, Edx({5}), 0, 0}, 0x3, VEC_SSE2 | VEC_SSSE3},
        {"AVX2, OSXSAVE clear", {0, 0, avx_ecx & ~Edx({27}), p4_edx}, {0, Edx({5}), 0, 0}, 0, VEC_SSE2 | VEC_SSSE3},
        {"Skylake-X: no VBMI or VNNI", {0, 0, avx_ecx, p4_edx}, {0, zen4_ebx, 0, 0}, 0xE7,
         VEC_SSE2 | VEC_SSSE3 | VEC_AVX2},
        {"Zen 4", {0, 0, avx_ecx, p4_edx}, {0, zen4_ebx, zen4_ecx, 0}, 0xE7,
         VEC_SSE2 | VEC_SSSE3 | VEC_AVX2 | VEC_AVX512},
        {"Zen 4, OS without ZMM state", {0, 0, avx_ecx, p4_edx}, {0, zen4_ebx, zen4_ecx, 0}, 0x7,
         VEC_SSE2 | VEC_SSSE3 | VEC_AVX2},
        {"AVX-512 bits without AVX2", {0, 0, avx_ecx, p4_edx}, {0, zen4_ebx & ~Edx({5}), zen4_ecx, 0}, 0xE7,
         VEC_SSE2 | VEC_SSSE3},
    };
    for (const Case& c : cases) EXPECT_EQ(VectorFeaturesOf(c.leaf1, c.leaf7, c.xcr0), c.features) << c.what;
}

}  // namespace
}  // namespace lumacore_test
