// Runs every entry of the kernel table: each tier the processor has against
// the plain function at widths 1..N and a few large ones, with source and
// destination starts 0..64 bytes past a boundary, canaries before and after
// every destination and the sources checked unchanged. The first mismatch
// is printed and ends the run with status 1. With --bench: the plain and tier
// functions timed at 1920 and 3840 items instead.
#include "tests/harness/kernel_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "engine/simd_tier.h"
#include "platform/cpu_features.h"

namespace kernel_harness {
namespace {

constexpr std::size_t kGuard = 128;  // canary bytes on each side; keeps offset 0 on a 128-byte boundary

bool Has(Isa isa) {
    using namespace lumacore;
    static constexpr std::uint32_t kNeeds[] = {VEC_SSE2, VEC_SSE2 | VEC_SSSE3, VEC_AVX2, VEC_AVX2 | VEC_AVX512};
    return (VectorFeatures() & kNeeds[int(isa)]) == kNeeds[int(isa)];
}

std::vector<Entry> Entries() {
    std::vector<Entry> table;
    AddConvertEntries(table);
    AddFromRgbEntries(table);
    AddToRgbEntries(table);
    return table;
}

const char* NameOf(Isa isa) {
    static constexpr const char* kNames[] = {"sse2", "ssse3", "avx2", "avx512"};
    return kNames[int(isa)];
}

// Random bytes, a quarter of them in runs of eight 0s or eight 255s, so that
// sums reach their ends and clamps occur.
void FillNoise(std::uint8_t* p, std::size_t n, std::uint32_t seed) {
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i < n; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const std::uint64_t v = x >> 62 == 0 ? (x >> 61 & 1 ? ~0ull : 0) : x;
        std::memcpy(p + i, &v, std::min<std::size_t>(8, n - i));
    }
}

}  // namespace

void FillSums(std::uint8_t* p, std::size_t n, std::uint32_t seed, std::int64_t low, std::int64_t high) {
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i + 4 <= n; i += 4) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const std::int64_t any = low + std::int64_t((x >> 8) % std::uint64_t(high - low + 1));
        const std::int32_t s = std::int32_t((x & 7) == 0 ? ((x >> 3) & 1 ? high : low) : any);
        std::memcpy(p + i, &s, 4);
    }
}

namespace {

// A 128-byte aligned block of exactly `size` bytes, so the address sanitizer
// sees a read one byte past a source.
struct Block {
    explicit Block(std::size_t n)
        : size(n), data(static_cast<std::uint8_t*>(::operator new(n ? n : 1, std::align_val_t(128)))) {}
    ~Block() { ::operator delete(data, std::align_val_t(128)); }
    Block(Block&& o) noexcept : size(o.size), data(std::exchange(o.data, nullptr)) {}
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    std::size_t size;
    std::uint8_t* data;
};

struct Frame {
    std::vector<Block> src, dst;              // dst: guard, offset, plane, slack, guard
    std::vector<std::size_t> src_at, dst_at;  // where each plane starts
    std::vector<std::vector<std::uint8_t>> src_copy, dst_start;
};

std::size_t Align(std::size_t offset, const Plane& p) { return offset / p.align * p.align; }

Frame MakeFrame(const Entry& e, int variant, std::uint32_t n, std::size_t so, std::size_t dso, std::uint32_t seed) {
    Frame f;
    for (std::size_t p = 0; p < e.src.size(); ++p) {
        const std::size_t at = Align((so + 23 * p) % 65, e.src[p]);
        Block b(at + e.src[p].bytes(n, variant));
        std::memset(b.data, 0, at);
        if (e.fill)
            e.fill(b.data + at, b.size - at, seed + std::uint32_t(p), variant);
        else
            FillNoise(b.data + at, b.size - at, seed + std::uint32_t(p));
        f.src_copy.emplace_back(b.data, b.data + b.size);
        f.src.push_back(std::move(b));
        f.src_at.push_back(at);
    }
    for (std::size_t p = 0; p < e.dst.size(); ++p) {
        const std::size_t at = kGuard + Align((dso + 17 * p) % 65, e.dst[p]);
        Block b(at + e.dst[p].bytes(n, variant) + e.slack + kGuard);
        FillNoise(b.data, b.size, ~seed - std::uint32_t(p));
        f.dst_start.emplace_back(b.data, b.data + b.size);
        f.dst.push_back(std::move(b));
        f.dst_at.push_back(at);
    }
    return f;
}

Call CallOn(const Frame& f, std::uint32_t n, int variant) {
    Call c{};
    for (std::size_t p = 0; p < f.dst.size(); ++p) c.dst[p] = f.dst[p].data + f.dst_at[p];
    for (std::size_t p = 0; p < f.src.size(); ++p) c.src[p] = f.src[p].data + f.src_at[p];
    c.n = n;
    c.variant = variant;
    return c;
}

void Restore(Frame& f) {
    for (std::size_t p = 0; p < f.dst.size(); ++p) std::memcpy(f.dst[p].data, f.dst_start[p].data(), f.dst[p].size);
}

[[noreturn]] void Fail(const Entry& e, const char* tier, int variant, std::uint32_t n, std::size_t so, std::size_t dso,
                       const std::string& what) {
    std::printf("FAIL %s variant %d tier %s width %u src offset %zu dst offset %zu: %s\n", e.name, variant, tier, n, so,
                dso, what.c_str());
    std::exit(1);
}

// One width at one pair of offsets: the plain function once, then each tier.
void Check(const Entry& e, int variant, std::uint32_t n, std::size_t so, std::size_t dso) {
    const std::uint32_t seed = n * 7919 + std::uint32_t(so * 131 + dso) + std::uint32_t(variant) * 104729;
    Frame f = MakeFrame(e, variant, n, so, dso, seed);
    auto sources_intact = [&](const char* tier) {
        for (std::size_t p = 0; p < f.src.size(); ++p)
            if (f.src[p].size && std::memcmp(f.src[p].data, f.src_copy[p].data(), f.src[p].size) != 0)
                Fail(e, tier, variant, n, so, dso, "source plane " + std::to_string(p) + " was written");
    };
    e.plain(CallOn(f, n, variant));
    sources_intact("plain");
    std::vector<std::vector<std::uint8_t>> want;
    for (const Block& b : f.dst) want.emplace_back(b.data, b.data + b.size);

    for (const TierKernel& t : e.tiers) {
        if (!Has(t.isa)) continue;
        Restore(f);
        const std::uint32_t done = t.run(CallOn(f, n, variant));
        sources_intact(NameOf(t.isa));
        if (done > n || n - done >= t.block)
            Fail(e, NameOf(t.isa), variant, n, so, dso, "did " + std::to_string(done) + " items");
        for (std::size_t p = 0; p < f.dst.size(); ++p) {
            // The plain function's bytes for the items done, the bytes as they
            // were past them; the slack as the tier left it.
            std::vector<std::uint8_t> expect = f.dst_start[p];
            const std::size_t at = f.dst_at[p], part = e.dst[p].bytes(done, variant);
            const std::size_t end = at + e.dst[p].bytes(n, variant);
            std::memcpy(expect.data() + at, want[p].data() + at, part);
            std::memcpy(expect.data() + end, f.dst[p].data + end, e.slack);
            const std::uint8_t* got = f.dst[p].data;
            if (std::memcmp(expect.data(), got, expect.size()) == 0) continue;
            std::size_t k = 0;
            while (expect[k] == got[k]) ++k;
            char what[160];
            std::snprintf(what, sizeof what, "destination %zu byte %ld%s: 0x%02X, want 0x%02X", p, long(k) - long(at),
                          k < at ? " (before the start)" : k >= end ? " (past the end)" : "", got[k], expect[k]);
            Fail(e, NameOf(t.isa), variant, n, so, dso, what);
        }
    }
}

// Every sum of the entry's range through the plain function and each tier.
void Sweep(const Entry& e, int variant) {
    std::int64_t low = 0, high = 0;
    e.sums(variant, &low, &high);
    constexpr std::uint32_t kChunk = 1 << 16;
    std::vector<std::int32_t> sums(kChunk);
    std::vector<std::uint8_t> want(e.dst[0].bytes(kChunk, variant)), got(want.size());
    for (std::int64_t first = low; first <= high; first += kChunk) {
        const std::uint32_t n = std::uint32_t(std::min<std::int64_t>(kChunk, high - first + 1));
        for (std::uint32_t i = 0; i < n; ++i) sums[i] = std::int32_t(first + i);
        Call c{{want.data()}, {reinterpret_cast<const std::uint8_t*>(sums.data())}, n, variant};
        e.plain(c);
        for (const TierKernel& t : e.tiers) {
            if (!Has(t.isa)) continue;
            c.dst[0] = got.data();
            const std::uint32_t done = t.run(c);
            const std::size_t bytes = e.dst[0].bytes(done, variant);
            const auto bad = std::mismatch(want.begin(), want.begin() + long(bytes), got.begin());
            if (n - done >= t.block || bad.first != want.begin() + long(bytes))
                Fail(e, NameOf(t.isa), variant, n, 0, 0,
                     "sum " + std::to_string(first + (bad.first - want.begin()) / long(e.dst[0].bytes(1, variant))));
            c.dst[0] = want.data();
        }
    }
}

void RunAll() {
    const std::size_t sample[][2] = {{0, 0}, {1, 0}, {0, 33}, {17, 5}, {63, 63}, {64, 1}};
    for (const Entry& e : Entries()) {
        const auto start = std::chrono::steady_clock::now();
        std::string tiers;
        for (const TierKernel& t : e.tiers)
            if (Has(t.isa)) tiers += std::string(" ") + NameOf(t.isa);
        if (tiers.empty()) {
            std::printf("skip %-28s no tier on this processor\n", e.name);
            continue;
        }
        for (int v = 0; v < e.variants; ++v) {
            // Every source offset up to 64 items, an eighth of them (a
            // different eighth at each width) beyond; destinations at the
            // same offset or another.
            for (std::uint32_t n = e.min_items; n <= e.max_items; ++n)
                for (std::size_t i = 0; i <= 64; ++i)
                    if (n <= 64 || (i + n) % 8 == 0) Check(e, v, n, i, i % 2 ? (i * 29 + 7) % 65 : i);
            for (std::uint32_t n : e.large)
                for (const auto& s : sample) Check(e, v, n, s[0], s[1]);
            if (e.sums) Sweep(e, v);
        }
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("ok   %-28s %2d variant(s), tiers:%s (%.0f ms)\n", e.name, e.variants, tiers.c_str(), ms);
    }
}

// Median nanoseconds a call over runs of enough calls to last 0.2 ms.
double Time(Kernel k, const Call& c) {
    using Clock = std::chrono::steady_clock;
    std::uint32_t reps = 1;
    for (;;) {
        const auto t0 = Clock::now();
        for (std::uint32_t r = 0; r < reps; ++r) k(c);
        if (Clock::now() - t0 > std::chrono::microseconds(200) || reps >= (1u << 20)) break;
        reps *= 2;
    }
    double runs[9];
    for (double& run : runs) {
        const auto t0 = Clock::now();
        for (std::uint32_t r = 0; r < reps; ++r) k(c);
        run = std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / reps;
    }
    std::sort(std::begin(runs), std::end(runs));
    return runs[4];
}

void Bench() {
    std::printf("%-28s %6s %12s  %s\n", "kernel (variant 0)", "width", "plain ns", "tiers: ns (speed-up)");
    for (const Entry& e : Entries()) {
        for (std::uint32_t n : {1920u, 3840u}) {
            if (n > e.max_items && e.large.empty()) continue;  // a kernel for short counts only
            Frame f = MakeFrame(e, 0, n, 0, 0, n);
            const double plain = Time(e.plain, CallOn(f, n, 0));
            std::printf("%-28s %6u %12.0f ", e.name, n, plain);
            for (const TierKernel& t : e.tiers) {
                if (!Has(t.isa)) continue;
                Restore(f);
                const double ns = Time(t.run, CallOn(f, n, 0));
                std::printf("  %s %.0f (%.1fx)", NameOf(t.isa), ns, plain / ns);
            }
            std::printf("\n");
        }
    }
}

}  // namespace
}  // namespace kernel_harness

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--bench") == 0) {
        kernel_harness::Bench();
        return 0;
    }
    kernel_harness::RunAll();
    std::printf("all kernels agree with their plain functions\n");
    return 0;
}
