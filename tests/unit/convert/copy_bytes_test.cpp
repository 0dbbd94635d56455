// Block copies: the variant table, the dispatching entry points at every
// count a frame line takes, and every variant's kernel at the sizes where
// streaming stores begin (the kernel harness covers the kernels below that).
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

constexpr CopyVariant kVariants[] = {CopyVariant::Units4, CopyVariant::Blocks64, CopyVariant::Aligned128,
                                     CopyVariant::Streaming};

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

using Copy = std::function<void(std::uint8_t*, const std::uint8_t*, std::uint32_t)>;

// CopyBytes and CopyBytesWith each variant; with `kernels`, also every
// variant's kernel in every tier this processor has.
std::vector<std::pair<std::string, Copy>> Copiers(bool kernels) {
    std::vector<std::pair<std::string, Copy>> out = {
        {"CopyBytes", [](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) { lumacore::CopyBytes(d, s, n); }}};
    for (CopyVariant v : kVariants) {
        out.push_back(
            {"CopyBytesWith " + std::to_string(int(v)),
             [v](std::uint8_t* d, const std::uint8_t* s, std::uint32_t n) { lumacore::CopyBytesWith(v, d, s, n); }});
        for (int tier = 0; kernels && tier <= int(lumacore::HostSimdTier()); ++tier)
            out.push_back({"variant " + std::to_string(int(v)) + " tier " + std::to_string(tier),
                           lumacore::CopyKernelFor(v, SimdTier(tier))});
    }
    return out;
}

// Every copier from a source `so` bytes past a 128-byte boundary to a
// destination `dso` bytes past one, with canaries on both sides; the first
// fault found, or "".
std::string CopyFault(bool kernels, std::uint32_t count, std::size_t so, std::size_t dso) {
    constexpr std::size_t kGuard = 128;
    AlignedBuffer src(so + count);
    FillRandom(src.data, src.size, count * 131 + std::uint32_t(so));
    AlignedBuffer dst(kGuard + dso + count + kGuard);
    const Bytes before = Random(dst.size, count * 7 + std::uint32_t(dso) + 1);
    Bytes want = before;
    if (count != 0) std::memcpy(want.data() + kGuard + dso, src.data + so, count);
    for (const auto& [name, copy] : Copiers(kernels)) {
        std::memcpy(dst.data, before.data(), dst.size);
        copy(dst.data + kGuard + dso, src.data + so, count);
        if (std::memcmp(dst.data, want.data(), dst.size) == 0) continue;
        const auto diff = std::mismatch(want.begin(), want.end(), dst.data);
        return name + ": wrong byte at " + std::to_string(long(diff.first - want.begin()) - long(kGuard + dso));
    }
    return "";
}

TEST(CopyBytes, VariantFollowsTheFeatureTable) {
    using namespace lumacore;
    const std::pair<std::uint32_t, CopyVariant> cases[] = {
        {0, CopyVariant::Units4},
        {CPU_HAS_CPUID | CPU_TSC | CPU_CMOV, CopyVariant::Units4},
        {CPU_MMX, CopyVariant::Blocks64},
        {CPU_3DNOW, CopyVariant::Blocks64},
        // AMD's MMX extensions share bit 9 with SSE; only bit 13 means SSE here.
        {CPU_MMX | CPU_3DNOW | CPU_3DNOW_EXT | CPU_SSE_OR_AMD_MMX_EXT, CopyVariant::Blocks64},
        {CPU_MMX | CPU_SSE_OR_AMD_MMX_EXT | CPU_SSE_ALT | CPU_SSE, CopyVariant::Aligned128},
        {0x7673, CopyVariant::Aligned128},  // a processor with SSE2
        {CPU_SSE | CPU_3DNOW, CopyVariant::Streaming},
    };
    for (const auto& [flags, variant] : cases) EXPECT_EQ(ChooseCopyVariant(flags), variant) << std::hex << flags;
}

// Both sides of the 128-byte switch between CopyBytes' two kernels, the
// 4-byte units of Units4, and the aligned and unaligned block paths.
TEST(CopyBytes, EntryPointsCopyEveryLineSizedCount) {
    for (std::uint32_t count = 0; count <= 300; ++count)
        for (const auto& [so, dso] : {std::pair<std::size_t, std::size_t>{0, 0}, {1, 0}, {3, 62}, {63, 63}})
            ASSERT_EQ(CopyFault(false, count, so, dso), "") << "count " << count << ", offsets " << so << " / " << dso;
}

// Whole frames move to streaming stores at kCopyStreamFromBytes: both sides
// of it, through the aligned and the unaligned paths of every kernel.
TEST(CopyBytes, EveryKernelCopiesOnBothSidesOfTheStreamingSize) {
    for (std::uint32_t count : {lumacore::kCopyStreamFromBytes - 1, lumacore::kCopyStreamFromBytes + 1})
        for (const auto& [so, dso] : {std::pair<std::size_t, std::size_t>{0, 0}, {5, 0}, {63, 33}})
            ASSERT_EQ(CopyFault(true, count, so, dso), "") << "count " << count << ", offsets " << so << " / " << dso;
}

// Runs of lines, forwards and backwards through either side, with a gap of
// canaries after every destination line, short of and at streaming size.
TEST(CopyBytes, CopyLinesWritesEachLineAndNothingBetween) {
    const std::pair<std::uint32_t, std::uint32_t> runs[] = {{0, 5},    {1, 5},    {63, 5},
                                                            {257, 37}, {7701, 1}, {7701, 1365}};
    for (const auto& [count, lines] : runs) {
        const std::uint32_t src_pitch = count + 3, dst_pitch = count + 29;
        const Bytes src = Random(std::size_t(lines) * src_pitch, count);
        const Bytes before = Random(5 + std::size_t(lines) * dst_pitch, count + 1);
        for (const bool back_dst : {false, true}) {
            for (const bool back_src : {false, true}) {
                Bytes want = before, dst = before;
                for (std::uint32_t k = 0; k < lines; ++k)
                    std::memcpy(&want[5 + std::size_t(back_dst ? lines - 1 - k : k) * dst_pitch],
                                &src[std::size_t(back_src ? lines - 1 - k : k) * src_pitch], count);
                const std::ptrdiff_t ds = back_dst ? -std::ptrdiff_t(dst_pitch) : dst_pitch;
                const std::ptrdiff_t ss = back_src ? -std::ptrdiff_t(src_pitch) : src_pitch;
                lumacore::CopyLines(&dst[5 + (back_dst ? std::size_t(lines - 1) * dst_pitch : 0)], ds,
                                    &src[back_src ? std::size_t(lines - 1) * src_pitch : 0], ss, count, lines);
                ASSERT_TRUE(dst == want) << "byte " << FirstDifference(dst, want) << ","
                                         << " count " << count << " lines " << lines << " backwards " << back_dst
                                         << back_src;
            }
        }
    }
}

}  // namespace
}  // namespace lumacore_test
