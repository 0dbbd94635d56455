// Digests of what every cell of the conversion table writes, over a set of
// sizes, matrices and alignment settings: for each frame the count
// ConvertFrame returned and a hash of the whole destination buffer, folded
// into one line per cell. Restructuring the engine must leave every line as
// it was.
//   cell_digest            print one line per cell
//   cell_digest --frames   print one line per frame (to find which one moved)
//   cell_digest FILE       compare the cells' lines with FILE
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dispatch/convert_frame.h"
#include "settings/codec_settings.h"

namespace {

using lumacore::FormatCode;

std::uint64_t Fnv1a(const std::uint8_t* p, std::size_t n) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3u;
    return h;
}

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint32_t seed) {
    std::vector<std::uint8_t> v(n);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = std::uint8_t(x >> 3);
    }
    return v;
}

FormatCode CodeOf(int code) {
    if (code == lumacore::FMT_RGB24 || code == lumacore::FMT_RGB32)
        return FormatCode(lumacore::FMT_FLAG_RGB | std::uint32_t(code));
    return code;
}

WORD BitsOf(int code) {
    switch (code) {
        case lumacore::FMT_RGB24: return 24;
        case lumacore::FMT_RGB32: return 32;
        case lumacore::FMT_YV12:
        case lumacore::FMT_I420: return 12;
        default: return 16;
    }
}

std::vector<std::string> Digests(bool frames) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {2, 2}, {7, 5}, {13, 3}, {48, 4}, {352, 3}, {640, 2},
                          {720, 3}, {800, 2}, {1280, 2}, {1920, 3}, {2048, 1}};
    struct Align {
        int a720, vesa;
    };
    const Align aligns[] = {{0, 0}, {1, 0}, {0, 1}, {2, 1}};
    std::vector<std::string> lines;
    char line[160];
    for (int s = 0; s < lumacore::kFormatCount; ++s) {
        for (int d = 0; d < lumacore::kFormatCount; ++d) {
            std::uint64_t cell = 0xcbf29ce484222325u;
            std::uint64_t counted = 0;
            const bool rgb = s == lumacore::FMT_RGB24 || s == lumacore::FMT_RGB32 || d == lumacore::FMT_RGB24 ||
                             d == lumacore::FMT_RGB32 || d == lumacore::FMT_RGB555 || d == lumacore::FMT_RGB565;
            for (const Size& size : sizes) {
                // Generous buffers: the natural frame of the wider layouts,
                // stated as not given (0) on the source side.
                const std::size_t src_bytes = std::size_t(size.w + 64) * size.h * 8 + 4096;
                const std::vector<std::uint8_t> src = Pattern(src_bytes, std::uint32_t(s * 131 + size.w * 7 + size.h));
                for (const Align& align : aligns) {
                    for (int matrix = 0; matrix < (rgb ? 6 : 1); ++matrix) {
                        lumacore::CodecSettings settings = lumacore::DefaultSettings();
                        settings.board_align_720 = align.a720;
                        settings.board_align_VESA = align.vesa;
                        BITMAPINFOHEADER in{}, out{};
                        in.biSize = out.biSize = sizeof in;
                        in.biWidth = out.biWidth = size.w;
                        in.biHeight = out.biHeight = size.h;
                        in.biPlanes = out.biPlanes = 1;
                        in.biBitCount = BitsOf(s);
                        out.biBitCount = BitsOf(d);
                        const std::uint32_t capacity = std::uint32_t(src_bytes);
                        std::vector<std::uint8_t> dst(capacity, 0x5A);
                        const std::uint32_t n = lumacore::ConvertFrame(AlignmentOf(settings), CodeOf(s), &in, src.data(), 0,
                                                                       CodeOf(d), &out, dst.data(), capacity, matrix);
                        const std::uint64_t hash = Fnv1a(dst.data(), dst.size());
                        cell = (cell ^ hash ^ n) * 0x100000001b3u;
                        counted += n;
                        if (!frames) continue;
                        std::snprintf(line, sizeof line, "%2d %2d %4dx%-2d align %d/%d matrix %d: %8u %016llx", s, d,
                                      size.w, size.h, align.a720, align.vesa, matrix, n,
                                      static_cast<unsigned long long>(hash));
                        lines.emplace_back(line);
                    }
                }
            }
            if (frames) continue;
            std::snprintf(line, sizeof line, "%2d -> %2d: %12llu bytes %016llx", s, d,
                          static_cast<unsigned long long>(counted), static_cast<unsigned long long>(cell));
            lines.emplace_back(line);
        }
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const bool frames = argc >= 2 && std::strcmp(argv[1], "--frames") == 0;
    const std::vector<std::string> lines = Digests(frames);
    if (argc < 2 || frames) {
        for (const std::string& l : lines) std::printf("%s\n", l.c_str());
        return 0;
    }
    std::ifstream file(argv[1]);
    std::vector<std::string> want;
    for (std::string l; std::getline(file, l);) want.push_back(l);
    int differing = 0;
    for (std::size_t i = 0; i < lines.size() || i < want.size(); ++i) {
        const std::string got = i < lines.size() ? lines[i] : "(none)";
        const std::string expected = i < want.size() ? want[i] : "(none)";
        if (got == expected) continue;
        if (++differing <= 20) std::printf("want %s\n got %s\n", expected.c_str(), got.c_str());
    }
    std::printf("%zu digests, %d differ\n", lines.size(), differing);
    return differing == 0 ? 0 : 1;
}
