// RGB to Y'CbCr through the routines of the conversion table: the samples
// the coefficient tables give, the layouts, line orders and chroma choices.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "formats/matrix_numbers.h"
#include "colour/rgb_to_ycbcr_routines.h"

namespace lumacore {
namespace {

constexpr std::uint8_t kCanary = 0xA5;
constexpr std::uint32_t kBottomUp = 0x8000;

struct Rgb {
    std::uint8_t r, g, b, a = 255;
};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

// A frame in memory order (line 0 first in memory), B G R (A) per pixel.
struct Frame {
    std::uint32_t width, height, bytes_per_pixel, pitch;
    std::vector<std::uint8_t> data;
    Frame(std::uint32_t w, std::uint32_t h, int bits, std::uint32_t padding = 0)
        : width(w),
          height(h),
          bytes_per_pixel(bits == 32 ? 4 : 3),
          pitch(w * bytes_per_pixel + padding),
          data(std::size_t(pitch) * h, 0) {}
    void Set(std::uint32_t x, std::uint32_t y, Rgb c) {
        std::uint8_t* p = &data[std::size_t(y) * pitch + x * bytes_per_pixel];
        p[0] = c.b, p[1] = c.g, p[2] = c.r;
        if (bytes_per_pixel == 4) p[3] = c.a;
    }
    void Fill(Rgb c) {
        for (std::uint32_t y = 0; y < height; ++y)
            for (std::uint32_t x = 0; x < width; ++x) Set(x, y, c);
    }
};

using Routine = std::uint32_t (*)(std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint32_t,
                                  std::uint32_t, std::int32_t, std::uint32_t);

// Runs a routine into a canary-filled buffer of `size` bytes.
std::vector<std::uint8_t> Convert(Routine routine, const Frame& f, std::uint32_t pitch, std::size_t size,
                                  std::int32_t matrix, std::uint32_t flags = kBottomUp,
                                  std::uint32_t* count = nullptr) {
    std::vector<std::uint8_t> out(size, kCanary);
    const std::uint32_t n = routine(out.data(), f.data.data(), f.width, f.height, pitch, f.pitch, matrix, flags);
    if (count) *count = n;
    return out;
}

std::uint32_t Word(const std::vector<std::uint8_t>& v, std::size_t at) {
    return std::uint32_t(v[at]) | std::uint32_t(v[at + 1]) << 8 | std::uint32_t(v[at + 2]) << 16 |
           std::uint32_t(v[at + 3]) << 24;
}
std::uint32_t Field(std::uint32_t word, int index) { return (word >> (10 * index)) & 0x3FF; }

// Y', Cb, Cr of one colour in 8 bits (from a UYVY pair of it).
struct Samples {
    int y, cb, cr;
    bool operator==(const Samples&) const = default;
};
Samples Samples8(Rgb c, std::int32_t matrix) {
    Frame f(2, 1, 24);
    f.Fill(c);
    const auto out = Convert(&Rgb24ToUyvy, f, 4, 4, matrix);
    return {out[1], out[0], out[2]};
}

// Y', Cb, Cr of one colour in 10 bits: the second pair of a uniform line
// has its own chroma after the 1-2-1 filter.
Samples Samples10(Rgb c, std::int32_t matrix) {
    Frame f(6, 1, 24);
    f.Fill(c);
    const auto out = Convert(&Rgb24ToV210, f, 16, 16, matrix);
    return {int(Field(Word(out, 0), 1)), int(Field(Word(out, 4), 1)), int(Field(Word(out, 8), 0))};
}

TEST(RgbToYCbCr, ListedSamplesForWhiteRedAndBlue) {
    EXPECT_EQ(Samples8(kWhite, MATRIX_CCIR601_STANDARD), (Samples{235, 128, 128}));
    EXPECT_EQ(Samples8(kWhite, MATRIX_CCIR601_EXTENDED), (Samples{255, 128, 128}));
    EXPECT_EQ(Samples10(kWhite, MATRIX_CCIR601_STANDARD), (Samples{940, 512, 512}));
    EXPECT_EQ(Samples10(kWhite, MATRIX_CCIR601_EXTENDED), (Samples{1020, 512, 512}));
    // Chroma sums truncate toward zero: -37.74 gives -37, so Cb 91.
    EXPECT_EQ(Samples8(kRed, MATRIX_CCIR601_STANDARD), (Samples{81, 91, 239}));
    // Cb 258 and 1033 before clamping.
    EXPECT_EQ(Samples8(kBlue, MATRIX_CCIR601_EXTENDED).cb, 255);
    EXPECT_EQ(Samples10(kBlue, MATRIX_CCIR601_EXTENDED).cb, 1023);

    // Six white pixels, matrix 1: the listed v210 words.
    Frame white(6, 1, 32);
    white.Fill(kWhite);
    const auto v210 = Convert(&Rgb32ToV210, white, 16, 16, MATRIX_CCIR601_STANDARD);
    EXPECT_EQ(Word(v210, 0), 0x200EB200u);
    EXPECT_EQ(Word(v210, 4), 0x3AC803ACu);
    EXPECT_EQ(Word(v210, 8), 0x200EB200u);
    EXPECT_EQ(Word(v210, 12), 0x3AC803ACu);

    // A blue line: the first pair blends in the neutral 512, (512 + 3 x 1023) / 4.
    Frame blue(12, 1, 24);
    blue.Fill(kBlue);
    const auto line = Convert(&Rgb24ToV210, blue, 32, 32, MATRIX_CCIR601_EXTENDED);
    EXPECT_EQ(Field(Word(line, 0), 0), 895u);
    EXPECT_EQ(Field(Word(line, 4), 1), 1023u);
    EXPECT_EQ(Field(Word(line, 8), 2), 1023u);
    EXPECT_EQ(Field(Word(line, 16), 0), 1023u);
}

TEST(RgbToV210, ChromaIsFilteredOneTwoOneAcrossPairs) {
    // Each pixel's own Cb and Cr, then a line of them mixed.
    const Rgb colours[6] = {{200, 30, 10}, {10, 220, 40}, {0, 0, 250}, {250, 250, 0}, {90, 90, 90}, {255, 0, 255}};
    Samples own[6];
    for (int i = 0; i < 6; ++i) own[i] = Samples10(colours[i], MATRIX_SMPTE274M_STANDARD);
    Frame f(6, 1, 24);
    for (std::uint32_t x = 0; x < 6; ++x) f.Set(x, 0, colours[x]);
    const auto out = Convert(&Rgb24ToV210, f, 16, 16, MATRIX_SMPTE274M_STANDARD);
    const std::uint32_t w0 = Word(out, 0), w1 = Word(out, 4), w2 = Word(out, 8), w3 = Word(out, 12);
    const auto filtered = [&](int before, int left, int right, int Samples::*c) {
        return std::uint32_t(((before < 0 ? 512 : own[before].*c) + 2 * own[left].*c + own[right].*c) / 4);
    };
    EXPECT_EQ(Field(w0, 0), filtered(-1, 0, 1, &Samples::cb));
    EXPECT_EQ(Field(w0, 2), filtered(-1, 0, 1, &Samples::cr));
    EXPECT_EQ(Field(w1, 1), filtered(1, 2, 3, &Samples::cb));
    EXPECT_EQ(Field(w2, 0), filtered(1, 2, 3, &Samples::cr));
    EXPECT_EQ(Field(w2, 2), filtered(3, 4, 5, &Samples::cb));
    EXPECT_EQ(Field(w3, 1), filtered(3, 4, 5, &Samples::cr));
    const std::uint32_t luma[6] = {Field(w0, 1), Field(w1, 0), Field(w1, 2), Field(w2, 1), Field(w3, 0), Field(w3, 2)};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(luma[i], std::uint32_t(own[i].y)) << i;
    for (std::uint32_t w : {w0, w1, w2, w3}) EXPECT_EQ(w >> 30, 0u);
}

}  // namespace
}  // namespace lumacore
