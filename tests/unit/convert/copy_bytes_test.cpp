// Block copies: the variant table, and every variant copying exactly its
// count, whatever the count and the alignment of either end, with canaries
// around the destination and the source ending at the end of its allocation.
#include "convert/copy_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "convert/simd/copy_bytes_kernels.h"
#include "platform/cpu_features.h"
#include "tests/unit/test_bytes.h"

namespace lumacore_test {
namespace {

using lumacore::CopyVariant;
using lumacore::SimdTier;

// A buffer whose first byte lies on a 128-byte boundary and whose last byte is
// the last byte of its allocation.
struct AlignedBuffer {
    explicit AlignedBuffer(std::size_t n)
        : size(n), data(static_cast<std::uint8_t*>(::operator new(n == 0 ? 1 : n, std::align_val_t(128)))) {}
    ~AlignedBuffer() { ::operator delete(data, std::align_val_t(128)); }
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    std::size_t size;
    std::uint8_t* data;
};

// Every way to copy: CopyBytes with the variant chosen for this process,
// CopyBytesWith each variant, and the kernel of every variant in every tier
// this processor has (short-copy kernels only below 128 bytes).
struct Copier {
    std::string name;
    std::function<void(std::uint8_t*, const std::uint8_t*, std::uint32_t)> copy;
};

std::vector<Copier> Copiers(std::uint32_t count) {
    constexpr CopyVariant kVariants[] = {CopyVariant::Units4, CopyVariant::Blocks64, CopyVariant::Aligned128,
                                         CopyVariant::Streaming};
    constexpr const char* kNames[] = {"Units4", "Blocks64", "Aligned128", "Streaming"};
    std::vector<Copier> out;
    out.push_back({"CopyBytes", [](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) {
                       lumacore::CopyBytes(d, s, n);
                   }});
    for (CopyVariant v : kVariants) {
        out.push_back({std::string("CopyBytesWith ") + kNames[int(v)],
                       [v](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) {
                           lumacore::CopyBytesWith(v, d, s, n);
                       }});
    }
    std::vector<lumacore::CopyKernel> kernels;  // each once: tiers share some
    auto add = [&](std::string name, lumacore::CopyKernel kernel) {
        if (std::find(kernels.begin(), kernels.end(), kernel) != kernels.end()) return;
        kernels.push_back(kernel);
        out.push_back({std::move(name), kernel});
    };
    for (int tier = 0; tier <= int(lumacore::HostSimdTier()); ++tier) {
        const std::string in_tier = " in tier " + std::to_string(tier);
        for (CopyVariant v : kVariants) add(kNames[int(v)] + in_tier, lumacore::CopyKernelFor(v, SimdTier(tier)));
        if (count < 128) add("short" + in_tier, lumacore::ShortCopyKernelFor(SimdTier(tier)));
    }
    return out;
}

constexpr std::size_t kGuard = 128;

// Runs every copier from the same source, at offset `so` from a 128-byte
// boundary, into the same destination, at offset `dso`, with canaries on
// both sides; returns the first fault found, or "".
std::string CopyFault(std::uint32_t count, std::size_t so, std::size_t dso) {
    AlignedBuffer src(so + count);
    FillRandom(src.data, src.size, count * 131 + std::uint32_t(so));
    AlignedBuffer dst(kGuard + dso + count + kGuard);
    std::vector<std::uint8_t> before(dst.size);
    FillRandom(before.data(), before.size(), count * 7 + std::uint32_t(dso) + 1);
    std::vector<std::uint8_t> want = before;
    if (count != 0) std::memcpy(want.data() + kGuard + dso, src.data + so, count);

    for (const Copier& copier : Copiers(count)) {
        std::memcpy(dst.data, before.data(), dst.size);
        copier.copy(dst.data + kGuard + dso, src.data + so, count);
        if (std::memcmp(dst.data, want.data(), dst.size) != 0) {
            const auto diff = std::mismatch(want.begin(), want.end(), dst.data);
            const long at = long(diff.first - want.begin()) - long(kGuard + dso);
            return copier.name + ": wrong byte at " + std::to_string(at) + " from the destination start";
        }
    }
    return "";
}

// Start offsets within a 128-byte block: every offset 0..63 of the source,
// once with the same offset for the destination (0/0 takes the aligned block
// path) and once with another.
std::vector<std::pair<std::size_t, std::size_t>> Offsets() {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (std::size_t s = 0; s < 64; ++s) {
        out.push_back({s, s});
        out.push_back({s, (s * 29 + 7) % 64});
    }
    return out;
}

TEST(CopyBytes, VariantFollowsTheFeatureTable) {
    using namespace lumacore;
    EXPECT_EQ(ChooseCopyVariant(0), CopyVariant::Units4);
    EXPECT_EQ(ChooseCopyVariant(CPU_HAS_CPUID | CPU_TSC | CPU_CMOV), CopyVariant::Units4);
    EXPECT_EQ(ChooseCopyVariant(CPU_MMX), CopyVariant::Blocks64);
    EXPECT_EQ(ChooseCopyVariant(CPU_MMX | CPU_3DNOW), CopyVariant::Blocks64);
    EXPECT_EQ(ChooseCopyVariant(CPU_3DNOW), CopyVariant::Blocks64);
    // AMD's MMX extensions share bit 9 with SSE; only bit 13 means SSE here.
    EXPECT_EQ(ChooseCopyVariant(CPU_MMX | CPU_3DNOW | CPU_3DNOW_EXT | CPU_SSE_OR_AMD_MMX_EXT),
              CopyVariant::Blocks64);
    EXPECT_EQ(ChooseCopyVariant(CPU_MMX | CPU_SSE_OR_AMD_MMX_EXT | CPU_SSE_ALT | CPU_SSE), CopyVariant::Aligned128);
    EXPECT_EQ(ChooseCopyVariant(0x7673), CopyVariant::Aligned128);  // a processor with SSE2
    EXPECT_EQ(ChooseCopyVariant(CPU_MMX | CPU_SSE | CPU_3DNOW), CopyVariant::Streaming);
    EXPECT_EQ(ChooseCopyVariant(CPU_SSE | CPU_3DNOW), CopyVariant::Streaming);
}

TEST(CopyBytes, EveryVariantCopiesShortAndMediumCountsAtEveryAlignment) {
    for (std::uint32_t count = 0; count <= 300; ++count) {
        for (const auto& [so, dso] : Offsets()) {
            ASSERT_EQ(CopyFault(count, so, dso), "") << "count " << count << ", offsets " << so << " / " << dso;
        }
    }
}

TEST(CopyBytes, EveryVariantCopiesLargeCountsAtEveryAlignment) {
    for (std::uint32_t count : {32768u, 40000u, 65537u, 300000u}) {
        for (const auto& [so, dso] : Offsets()) {
            ASSERT_EQ(CopyFault(count, so, dso), "") << "count " << count << ", offsets " << so << " / " << dso;
        }
    }
}

// Whole frames move to streaming stores somewhere in the megabytes: both
// sides of that point, through the aligned and the unaligned paths.
TEST(CopyBytes, EveryVariantCopiesFrameSizedCounts) {
    for (std::uint32_t count : {1920u * 1080 * 2, (10u << 20) - 1, (10u << 20) + 1, 3840u * 2160 * 2 + 77}) {
        for (const auto& [so, dso] : {std::pair<std::size_t, std::size_t>{0, 0}, {5, 0}, {63, 33}}) {
            ASSERT_EQ(CopyFault(count, so, dso), "") << "count " << count << ", offsets " << so << " / " << dso;
        }
    }
}

// Runs of lines, forwards and backwards through either side, with a gap of
// canaries after every destination line: CopyLines over enough lines to
// stream, and every tier's streaming kernel at any size.
TEST(CopyBytes, LineCopiesWriteEachLineAndNothingBetween) {
    struct LineCopier {
        std::string name;
        lumacore::CopyLinesKernel copy;
    };
    std::vector<LineCopier> copiers = {{"CopyLines", lumacore::CopyLines}};
    if (lumacore::HostSimdTier() >= SimdTier::Sse2) copiers.push_back({"SSE2", lumacore::CopyLinesStreamingSse2});
    if (lumacore::HostSimdTier() >= SimdTier::Avx2) copiers.push_back({"AVX2", lumacore::CopyLinesStreamingAvx2});

    for (const std::uint32_t count : {0u, 1u, 63u, 200u, 256u, 257u, 300u, 1000u, 7680u, 7701u}) {
        // Enough lines for CopyLines to stream where the lines are long.
        const std::uint32_t lines = count >= 1000 ? (10u << 20) / count + 3 : 37;
        for (const std::uint32_t offset : {0u, 5u, 40u}) {
            const std::uint32_t src_pitch = count + 3, dst_pitch = count + 29;
            AlignedBuffer src(std::size_t(lines) * src_pitch);
            FillRandom(src.data, src.size, count);
            AlignedBuffer dst(offset + std::size_t(lines) * dst_pitch);
            std::vector<std::uint8_t> before(dst.size);
            FillRandom(before.data(), before.size(), count + 1);
            for (const bool backwards_dst : {false, true}) {
                for (const bool backwards_src : {false, true}) {
                    std::vector<std::uint8_t> want = before;
                    for (std::uint32_t k = 0; k < lines; ++k) {
                        const std::uint32_t from = backwards_src ? lines - 1 - k : k;
                        const std::uint32_t to = backwards_dst ? lines - 1 - k : k;
                        std::memcpy(want.data() + offset + std::size_t(to) * dst_pitch,
                                    src.data + std::size_t(from) * src_pitch, count);
                    }
                    std::uint8_t* const d = dst.data + offset + (backwards_dst ? std::size_t(lines - 1) * dst_pitch : 0);
                    const std::uint8_t* const s = src.data + (backwards_src ? std::size_t(lines - 1) * src_pitch : 0);
                    const std::ptrdiff_t ds = backwards_dst ? -std::ptrdiff_t(dst_pitch) : std::ptrdiff_t(dst_pitch);
                    const std::ptrdiff_t ss = backwards_src ? -std::ptrdiff_t(src_pitch) : std::ptrdiff_t(src_pitch);
                    for (const LineCopier& copier : copiers) {
                        std::memcpy(dst.data, before.data(), dst.size);
                        copier.copy(d, ds, s, ss, count, lines);
                        ASSERT_EQ(std::memcmp(dst.data, want.data(), dst.size), 0)
                            << copier.name << " count " << count << " offset " << offset << " backwards "
                            << backwards_dst << backwards_src;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test
