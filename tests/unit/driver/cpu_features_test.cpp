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
    int calls = 0;
};
FakeProcessor* g_processor = nullptr;

bool FakeCpuid(std::uint32_t leaf, CpuidRegisters* out) {
    ++g_processor->calls;
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

TEST_F(CpuFeaturesTest, IntelProcessorWithSse2) {
    // A Pentium 4: TSC, MTRR, CMOV, MMX, SSE, SSE2; extended leaves present.
    FakeProcessor p4 = Processor("GenuineIntel", 0xF29, Edx({4, 12, 15, 23, 25, 26}), 0x80000004u, 0);
    FirstUse(p4);
    for (std::uint32_t bits : {0x1u, 0x2u, 0x20u, 0x2600u, 0x4000u})
        EXPECT_EQ(CPUFeatureFlags & bits, bits) << std::hex << bits;
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x4u | 0x10u | 0x20u | 0x40u | 0x200u | 0x400u | 0x1000u | 0x2000u | 0x4000u);
    EXPECT_EQ(Level(), 4u);
    EXPECT_EQ(CheckMMX(), 1);

    // SSE without SSE2, MMX alone, nothing: levels 3, 2, 1.
    FakeProcessor p3 = Processor("GenuineIntel", 0x683, Edx({4, 15, 23, 25}), 0x80000000u, 0);
    FirstUse(p3);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x10u | 0x20u | 0x40u | 0x200u | 0x400u | 0x2000u);
    EXPECT_EQ(Level(), 3u);
    FakeProcessor mmx = Processor("GenuineIntel", 0x543, Edx({4, 23}), 0, 0);
    FirstUse(mmx);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x10u | 0x20u);
    EXPECT_EQ(Level(), 2u);
    FakeProcessor plain = Processor("GenuineIntel", 0x52C, Edx({4}), 0, 0);
    FirstUse(plain);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x10u);
    EXPECT_EQ(Level(), 1u);
    EXPECT_EQ(CheckMMX(), 0);
}

TEST_F(CpuFeaturesTest, AmdProcessorWithMmxAnd3DNowButNoSse) {
    // A K6-2: MMX and 3DNow!, no extensions.
    FakeProcessor k6 = Processor("AuthenticAMD", 0x58C, Edx({4, 23}), 0x80000005u, Edx({23, 31}));
    FirstUse(k6);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x4u | 0x10u | 0x20u | 0x80u | 0x800u);
    EXPECT_EQ(Level(), 2u);  // 3DNow! (5) is never chosen

    // With the 3DNow! extensions: bit 8. With the AMD MMX extensions: bit 9,
    // but not the other SSE bits.
    FakeProcessor ext = Processor("AuthenticAMD", 0x621, Edx({4, 15, 23}), 0x80000008u, Edx({22, 23, 30, 31}));
    FirstUse(ext);
    EXPECT_EQ(CPUFeatureFlags & 0x780u, 0x100u | 0x200u | 0x80u);
    EXPECT_EQ(CPUFeatureFlags & 0x6400u, 0u);
    EXPECT_EQ(Level(), 2u);
    FakeProcessor only_mmx_ext = Processor("AuthenticAMD", 0x621, Edx({23}), 0x80000008u, Edx({22, 31}));
    FirstUse(only_mmx_ext);
    EXPECT_EQ(CPUFeatureFlags & 0x380u, 0x200u | 0x80u);
    FakeProcessor only_3dnow_ext = Processor("AuthenticAMD", 0x621, Edx({23}), 0x80000008u, Edx({30, 31}));
    FirstUse(only_3dnow_ext);
    EXPECT_EQ(CPUFeatureFlags & 0x380u, 0x100u | 0x80u);

    // An AMD processor with SSE has bit 9 from SSE, and reaches SSE2.
    FakeProcessor athlon64 =
        Processor("AuthenticAMD", 0xF4A, Edx({4, 12, 15, 23, 25, 26}), 0x80000018u, Edx({22, 23, 30, 31}));
    FirstUse(athlon64);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x4u | 0x10u | 0x20u | 0x40u | 0x80u | 0x100u | 0x200u | 0x400u |
                                   0x1000u | 0x2000u | 0x4000u);
    EXPECT_EQ(Level(), 4u);
}

TEST_F(CpuFeaturesTest, AmdSignatureRangeSetsBit11) {
    struct Case {
        std::uint32_t signature;
        bool bit11;
    };
    const Case cases[] = {
        {0x587, false}, {0x588, true},  {0x58C, true},  {0x5FF, true}, {0x600, false},
        {0x580, false}, {0x500, false}, {0x1058C, true} /* only the low 12 bits count */,
        {0xF5FF, true}, {0x688, false},
    };
    for (const Case& c : cases) {
        FakeProcessor amd = Processor("AuthenticAMD", c.signature, Edx({23}), 0x80000005u, Edx({31}));
        FirstUse(amd);
        EXPECT_EQ((CPUFeatureFlags & 0x800u) != 0, c.bit11) << std::hex << c.signature;
    }
    // The range is only looked at on AMD processors with extended leaves.
    FakeProcessor no_extended = Processor("AuthenticAMD", 0x58C, Edx({23}), 0x80000000u, Edx({30, 31}));
    FirstUse(no_extended);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x20u);
}

TEST_F(CpuFeaturesTest, OtherVendorsNeverGetTheAmdOnlyBits) {
    for (const char* vendor : {"GenuineIntel", "CyrixInstead", "AuthenticAMX", "authenticamd"}) {
        // Leaf 0x80000001 says 3DNow!, 3DNow! extensions and AMD MMX
        // extensions, and the signature lies in the AMD range.
        FakeProcessor p = Processor(vendor, 0x5A0, Edx({4, 23}), 0x80000008u, Edx({22, 30, 31}));
        FirstUse(p);
        EXPECT_EQ(CPUFeatureFlags & (0x100u | 0x200u | 0x800u), 0u) << vendor;
        EXPECT_EQ(CPUFeatureFlags & 0x80u, 0x80u) << vendor;  // 3DNow! itself is not AMD-only
        EXPECT_EQ(Level(), 2u) << vendor;
    }
}

TEST_F(CpuFeaturesTest, ProcessorsWithFewLeavesOrNoCpuid) {
    // No CPUID at all: no flags, level 1, no MMX, and the rule runs again
    // at every first use.
    FakeProcessor none;
    none.has_cpuid = false;
    FirstUse(none);
    EXPECT_EQ(CPUFeatureFlags, 0u);
    EXPECT_EQ(Level(), 1u);
    EXPECT_EQ(CheckMMX(), 0);
    const int calls = none.calls;
    EXPECT_GT(calls, 0);
    lumacore::EnsureProcessorFeatures();
    EXPECT_GT(none.calls, calls);
    EXPECT_EQ(CPUFeatureFlags, 0u);
    EXPECT_EQ(Level(), 1u);

    // CPUID with no standard leaf beyond 0: only bit 0, whatever leaf 1 says.
    FakeProcessor leaf0 = Processor("GenuineIntel", 0x543, Edx({4, 23, 25, 26}), 0x80000008u, Edx({31}));
    leaf0.leaves[0] = Vendor(0, "GenuineIntel");
    FirstUse(leaf0);
    EXPECT_EQ(CPUFeatureFlags, 0x1u);
    EXPECT_EQ(Level(), 1u);

    // No extended leaf above 0x80000000: no bit 2, no 3DNow!.
    FakeProcessor no_ext = Processor("AuthenticAMD", 0x58C, Edx({23}), 0x80000000u, Edx({22, 30, 31}));
    FirstUse(no_ext);
    EXPECT_EQ(CPUFeatureFlags, 0x1u | 0x2u | 0x20u);
}

TEST_F(CpuFeaturesTest, DetectionRunsOnceAtFirstUse) {
    FakeProcessor p4 = Processor("GenuineIntel", 0xF29, Edx({4, 12, 15, 23, 25, 26}), 0x80000004u, 0);
    g_processor = &p4;
    lumacore::SetCpuidReaderForTesting(&FakeCpuid);

    // Nothing is detected before the first conversion.
    EXPECT_EQ(CPUFeatureFlags, 0u);
    EXPECT_EQ(CheckMMX(), 0);
    EXPECT_EQ(p4.calls, 0);

    lumacore::EnsureProcessorFeatures();
    EXPECT_EQ(CheckMMX(), 1);
    EXPECT_EQ(Level(), 4u);
    const std::uint32_t flags = CPUFeatureFlags;

    // From then on neither value moves, even if the processor seemed to change.
    const int calls = p4.calls;
    FakeProcessor plain = Processor("GenuineIntel", 0x52C, 0, 0, 0);
    g_processor = &plain;
    lumacore::EnsureProcessorFeatures();
    EXPECT_EQ(plain.calls, 0);
    EXPECT_EQ(p4.calls, calls);
    EXPECT_EQ(CPUFeatureFlags, flags);
    EXPECT_EQ(Level(), 4u);

    // The per-instance "Disable" choices do not reach detection.
    lumacore::ResetProcessorFeaturesForTesting();
    g_processor = &p4;
    Instance instance = OpenFor(Fcc("UYVY"));
    lumacore::CodecSettings s = instance.State();
    s.cpu_disable_mask = 7;
    instance.SetState(s);
    lumacore::SaveSettings(s);
    lumacore::EnsureProcessorFeatures();
    EXPECT_EQ(CPUFeatureFlags, flags);
    EXPECT_EQ(Level(), 4u);
}

}  // namespace
}  // namespace lumacore_test
