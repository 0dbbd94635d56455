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

TEST(RgbToYCbCr, CoefficientTablesKeepTheirIrregularValues) {
    // Each colour tells the listed coefficient from its regular neighbour.
    EXPECT_EQ(Samples8({0, 0, 141}, MATRIX_CCIR601_STANDARD).cr, 119);     // -709, not -710
    EXPECT_EQ(Samples10({10, 0, 179}, MATRIX_CCIR601_EXTENDED).cb, 870);   // -6879, not -6876
    EXPECT_EQ(Samples10({0, 0, 74}, MATRIX_CCIR601_STANDARD).cr, 491);     // -2839, not -2836
    EXPECT_EQ(Samples10({0, 15, 215}, MATRIX_SMPTE274M_EXTENDED).y, 105);  // 28607, not 28604

    // Matrices 3 and 5 share their coefficients; numbers outside 1..5 are matrix 0.
    Frame f(64, 3, 32);
    for (std::uint32_t i = 0; i < f.data.size(); ++i) f.data[i] = std::uint8_t(i * 37 + (i >> 5));
    for (Routine r : {Routine(&Rgb32ToUyvy), Routine(&Rgb32ToV210)}) {
        const std::uint32_t pitch = r == &Rgb32ToUyvy ? 128 : 256;
        const std::size_t size = std::size_t(pitch) * 3;
        EXPECT_EQ(Convert(r, f, pitch, size, 3), Convert(r, f, pitch, size, 5));
        EXPECT_NE(Convert(r, f, pitch, size, 3), Convert(r, f, pitch, size, 1));
        const auto zero = Convert(r, f, pitch, size, 0);
        for (std::int32_t m : {-1, 6, 1000}) EXPECT_EQ(Convert(r, f, pitch, size, m), zero) << m;
    }
}

TEST(RgbToYCbCr, PackedLayoutsTakeAPairsChromaFromItsLeftPixel) {
    // Red then blue under matrix 1: red is Y' 81 Cb 91 Cr 239, blue Y' 40.
    Frame f(2, 1, 24);
    f.Set(0, 0, kRed);
    f.Set(1, 0, kBlue);
    std::uint32_t count = 0;
    EXPECT_EQ(Convert(&Rgb24ToUyvy, f, 4, 4, 1, kBottomUp, &count), (std::vector<std::uint8_t>{91, 81, 239, 40}));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(Convert(&Rgb24ToYuy2, f, 4, 4, 1), (std::vector<std::uint8_t>{81, 91, 40, 239}));
    EXPECT_EQ(Convert(&Rgb24ToYvyu, f, 4, 4, 1), (std::vector<std::uint8_t>{81, 239, 40, 91}));

    // An odd width's last pixel is not converted: its bytes stay as they were.
    Frame odd(3, 2, 32);
    odd.Fill(kWhite);
    const auto out = Convert(&Rgb32ToUyvy, odd, 6, 12, 1, kBottomUp, &count);
    EXPECT_EQ(count, 12u);
    for (std::size_t line : {0u, 6u}) {
        EXPECT_EQ(out[line + 1], 235);
        EXPECT_EQ(out[line + 4], kCanary);
        EXPECT_EQ(out[line + 5], kCanary);
    }
}

TEST(RgbToYCbCr, ReadsBottomUpAndCyuvFlipsTheFinishedFrame) {
    // Red first in memory, blue last.
    Frame f(4, 3, 32);
    for (std::uint32_t x = 0; x < 4; ++x) f.Set(x, 0, kRed), f.Set(x, 1, kWhite), f.Set(x, 2, kBlue);
    const auto uyvy = Convert(&Rgb32ToUyvy, f, 8, 24, 1);
    EXPECT_EQ(uyvy[1], 40);   // line 0: blue
    EXPECT_EQ(uyvy[17], 81);  // line 2: red
    const auto top_down = Convert(&Rgb32ToUyvy, f, 8, 24, 1, 0);
    EXPECT_EQ(top_down[1], 81);
    const auto cyuv = Convert(&Rgb32ToCyuv, f, 8, 24, 1);
    EXPECT_EQ(cyuv, top_down);  // flipped back: red first again

    // With padded lines the padding moves with the lines, as in a flip of
    // the finished frame.
    Frame g(3, 3, 24);
    for (std::uint32_t i = 0; i < g.data.size(); ++i) g.data[i] = std::uint8_t(i * 11);
    std::vector<std::uint8_t> cyuv_padded(30), expected(30);
    for (std::size_t i = 0; i < 30; ++i) cyuv_padded[i] = expected[i] = std::uint8_t(200 + i);
    Rgb24ToCyuv(cyuv_padded.data(), g.data.data(), 3, 3, 10, g.pitch, 1, kBottomUp);
    Rgb24ToUyvy(expected.data(), g.data.data(), 3, 3, 10, g.pitch, 1, kBottomUp);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(0, std::memcmp(&cyuv_padded[y * 10], &expected[(2 - y) * 10], 10)) << y;
}

// Lines of distinct colours, so that each chroma row shows its line.
Frame Stripes(std::uint32_t w, std::uint32_t h) {
    Frame f(w, h, 24);
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x) f.Set(x, y, {std::uint8_t(30 * y), std::uint8_t(200 - 20 * y), 90});
    return f;
}

TEST(RgbToYCbCr, Planar420TakesEachChromaRowFromOneLine) {
    struct Case {
        std::uint32_t height;
        std::vector<std::uint32_t> lines;  // the line of each chroma row
    };
    // 0, 3, 4, 7, ...; an odd height's last row without such a line takes the last line.
    const Case cases[] = {{6, {0, 3, 4}},    {8, {0, 3, 4, 7}}, {5, {0, 3, 4}}, {3, {0, 2}},
                          {7, {0, 3, 4, 6}}, {1, {0}},          {2, {0}}};
    const std::uint32_t w = 4, p = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const Frame f = Stripes(w, c.height);
        // Per line, Cb and Cr as UYVY writes them (top-down, for clarity).
        const auto uyvy = Convert(&Rgb24ToUyvy, f, 2 * w, 2 * w * c.height, 1, 0);
        const std::uint32_t rows = (c.height + 1) / 2, luma = c.height * p, plane = rows * (p / 2);
        std::uint32_t count = 0;
        const auto i420 = Convert(&Rgb24ToI420, f, p, luma + 2 * plane + 8, 1, 0, &count);
        const auto yv12 = Convert(&Rgb24ToYv12, f, p, luma + 2 * plane + 8, 1, 0);
        EXPECT_EQ(count, w * c.height + 2 * (w * c.height / 4));
        ASSERT_EQ(c.lines.size(), rows);
        for (std::uint32_t r = 0; r < rows; ++r) {
            const std::size_t pair = std::size_t(c.lines[r]) * 2 * w;
            for (std::uint32_t k = 0; k < w / 2; ++k) {
                EXPECT_EQ(i420[luma + r * 2 + k], uyvy[pair + 4 * k]) << "Cb row " << r;
                EXPECT_EQ(i420[luma + plane + r * 2 + k], uyvy[pair + 4 * k + 2]) << "Cr row " << r;
                EXPECT_EQ(yv12[luma + r * 2 + k], uyvy[pair + 4 * k + 2]) << "YV12 Cr first";
                EXPECT_EQ(yv12[luma + plane + r * 2 + k], uyvy[pair + 4 * k]);
            }
        }
        for (std::uint32_t y = 0; y < c.height; ++y)
            for (std::uint32_t x = 0; x < w; ++x) EXPECT_EQ(i420[y * p + x], uyvy[y * 2 * w + 2 * x + 1]);
        // Nothing after the frame.
        for (std::size_t i = luma + 2 * plane; i < i420.size(); ++i) EXPECT_EQ(i420[i], kCanary);
    }
}

TEST(RgbToYCbCr, PlanarLayoutsFollowThePitch) {
    // P422: chroma on every line, planes at half the pitch.
    const std::uint32_t w = 6, h = 4, p = 8, cp = 4;
    const Frame f = Stripes(w, h);
    const auto uyvy = Convert(&Rgb24ToUyvy, f, 2 * w, 2 * w * h, 1);
    std::uint32_t count = 0;
    const auto p422 = Convert(&Rgb24ToP422, f, p, h * p + 2 * h * cp, 1, kBottomUp, &count);
    EXPECT_EQ(count, 2 * w * h);
    for (std::uint32_t y = 0; y < h; ++y) {
        for (std::uint32_t k = 0; k < w / 2; ++k) {
            EXPECT_EQ(p422[h * p + y * cp + k], uyvy[y * 2 * w + 4 * k]);
            EXPECT_EQ(p422[h * p + h * cp + y * cp + k], uyvy[y * 2 * w + 4 * k + 2]);
        }
        // Padding of every row untouched.
        EXPECT_EQ(p422[y * p + 6], kCanary);
        EXPECT_EQ(p422[h * p + y * cp + 3], kCanary);
    }

    // An odd width: the last luma byte of each line stays untouched, and the
    // chroma planes (pitch (w - 1) / 2) follow the luma plane directly.
    const Frame odd = Stripes(5, 2);
    const auto i420 = Convert(&Rgb24ToI420, odd, 5, 10 + 2 * 2, 1);
    EXPECT_EQ(i420[4], kCanary);
    EXPECT_EQ(i420[9], kCanary);
    for (std::size_t i = 10; i < 14; ++i) EXPECT_NE(i420[i], kCanary) << i;
}

TEST(RgbToYCbCr, ChannelOrdersPlaceTheColourBytes) {
    // The same picture stored in each order reads the same.
    const std::uint32_t w = 20, h = 3;
    const Frame bgr = Stripes(w, h);
    for (int bits : {24, 32}) {
        const std::uint32_t bpp = bits / 8;
        for (std::uint32_t order : {0u, 1u, 2u, 3u, 4u, 0x7FFFu}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, order " << order);
            // Unknown orders read as B, G, R at bytes 0..2.
            const bool red_first = order == 2 || order == 3;
            const int first = bits == 32 && (order == 1 || order == 3) ? 1 : 0;
            Frame f(w, h, bits);
            for (std::uint32_t y = 0; y < h; ++y) {
                for (std::uint32_t x = 0; x < w; ++x) {
                    const std::uint8_t* c = &bgr.data[y * bgr.pitch + 3 * x];
                    std::uint8_t* p = &f.data[y * f.pitch + bpp * x];
                    if (bits == 32) p[first ? 0 : 3] = 0x5C;  // the unused byte
                    p[first + 0] = red_first ? c[2] : c[0];
                    p[first + 1] = c[1];
                    p[first + 2] = red_first ? c[0] : c[2];
                }
            }
            const Routine uyvy = bits == 32 ? Routine(&Rgb32ToUyvy) : Routine(&Rgb24ToUyvy);
            const Routine v210 = bits == 32 ? Routine(&Rgb32ToV210) : Routine(&Rgb24ToV210);
            EXPECT_EQ(Convert(uyvy, f, 2 * w, 2 * w * h, 1, kBottomUp | order),
                      Convert(&Rgb24ToUyvy, bgr, 2 * w, 2 * w * h, 1));
            EXPECT_EQ(Convert(v210, f, 64, 64 * h, 0, kBottomUp | order), Convert(&Rgb24ToV210, bgr, 64, 64 * h, 0));
        }
    }
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

TEST(RgbToV210, LastGroupsStopAfterTheLinesLastPair) {
    const Rgb grey{128, 128, 128}, last{250, 10, 10};
    const Samples g = Samples10(grey, 1), l = Samples10(last, 1);
    for (std::uint32_t w = 1; w <= 13; ++w) {
        SCOPED_TRACE(w);
        Frame f(w, 2, 32);
        f.Fill(grey);
        f.Set(w - 1, 0, last);
        f.Set(w - 1, 1, last);
        const std::uint32_t pitch = 48, groups = (w + 5) / 6;
        std::uint32_t count = 0;
        const auto out = Convert(&Rgb32ToV210, f, pitch, 2 * pitch, 1, kBottomUp, &count);
        EXPECT_EQ(count, 2 * pitch);
        const std::uint32_t base = 6 * (groups - 1);
        const std::uint32_t pairs = 1 + (base + 2 < w) + (base + 4 < w);
        const std::uint32_t written = 16 * (groups - 1) + 4 * (pairs + 1);
        for (std::uint32_t line = 0; line < 2; ++line) {
            for (std::uint32_t i = written; i < pitch; ++i)
                EXPECT_EQ(out[line * pitch + i], kCanary) << "byte " << i << " of line " << line;
            // The last word's fields beyond the last pair are zero.
            const std::uint32_t tail = Word(out, line * pitch + written - 4);
            EXPECT_EQ(tail >> (pairs == 1 ? 10 : pairs == 2 ? 20 : 30), 0u);
        }
        // With an odd width the last pair's right pixel repeats the last pixel.
        if (w % 2 == 1) {
            const std::uint32_t pair = (w - 1) / 2 - 3 * (groups - 1);
            const std::size_t at = 16 * std::size_t(groups - 1);
            const std::uint32_t y_right = pair == 0   ? Field(Word(out, at + 4), 0)
                                          : pair == 1 ? Field(Word(out, at + 8), 1)
                                                      : Field(Word(out, at + 12), 2);
            EXPECT_EQ(y_right, std::uint32_t(l.y));
            const int before = w == 1 ? 512 : g.cb;
            const std::uint32_t cb = pair == 0   ? Field(Word(out, at), 0)
                                     : pair == 1 ? Field(Word(out, at + 4), 1)
                                                 : Field(Word(out, at + 8), 2);
            EXPECT_EQ(cb, std::uint32_t((before + 3 * l.cb) / 4));
        }
    }
}

}  // namespace
}  // namespace lumacore
