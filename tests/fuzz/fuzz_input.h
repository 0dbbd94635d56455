// Turning fuzzer bytes into what a host hands the driver: headers, sizes and
// buffers allocated at exactly the size the host claims, so that any read
// or write past a claim is caught by the address sanitizer.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "formats/fourcc.h"
#include "formats/line_pitch.h"
#include "platform/win32.h"

namespace fuzz {

// Frames stay small enough that a run does many of them.
inline constexpr std::uint32_t kMaxBuffer = 1u << 18;

// A heap buffer of exactly `size` bytes (a distinct allocation even when 0).
struct Buffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint32_t size = 0;
    std::uint8_t* data() { return bytes.get(); }
};

inline Buffer MakeBuffer(std::uint32_t size, std::uint8_t fill) {
    Buffer b;
    b.size = size;
    b.bytes.reset(new std::uint8_t[size ? size : 1]);
    std::memset(b.bytes.get(), fill, size ? size : 1);
    return b;
}

inline std::uint32_t PickFourcc(FuzzedDataProvider& in) {
    static const char* const kCodes[] = {"UYVY", "UYNV", "UYNY", "2vuy", "2Vuy", "yuv2", "yuV2", "cyuv",
                                         "YUY2", "YUYV", "YUNV", "V422", "YVYU", "YV12", "I420", "IYUV",
                                         "v210", "012v", "auv2", "a12v", "P422", "V210", "HFYU", "\0\0\0\0"};
    const int pick = in.ConsumeIntegralInRange<int>(0, int(sizeof kCodes / sizeof kCodes[0]));
    if (pick == int(sizeof kCodes / sizeof kCodes[0])) return in.ConsumeIntegral<std::uint32_t>();
    const char* c = kCodes[pick];
    return std::uint32_t(std::uint8_t(c[0])) | (std::uint32_t(std::uint8_t(c[1])) << 8) |
           (std::uint32_t(std::uint8_t(c[2])) << 16) | (std::uint32_t(std::uint8_t(c[3])) << 24);
}

// Mostly plausible dimensions, sometimes anything at all.
inline std::int32_t PickDimension(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return in.ConsumeIntegralInRange<std::int32_t>(-4, 80);
        case 1: {
            static const std::int32_t kVideo[] = {352, 486, 576, 625, 626, 640, 704, 720, 800, 1280, 1920, 2048};
            return kVideo[in.ConsumeIntegralInRange<int>(0, 11)];
        }
        case 2:
            return in.ConsumeIntegralInRange<std::int32_t>(-2000, 2100);
        default:
            return in.ConsumeIntegral<std::int32_t>();
    }
}

inline BITMAPINFOHEADER PickHeader(FuzzedDataProvider& in) {
    BITMAPINFOHEADER h{};
    h.biSize = in.ConsumeBool() ? 40u : in.ConsumeIntegral<std::uint32_t>();
    h.biWidth = PickDimension(in);
    h.biHeight = PickDimension(in);
    h.biPlanes = 1;
    static const WORD kBits[] = {0, 8, 12, 15, 16, 20, 24, 32};
    h.biBitCount = in.ConsumeBool() ? kBits[in.ConsumeIntegralInRange<int>(0, 7)] : in.ConsumeIntegral<WORD>();
    h.biCompression = in.ConsumeIntegralInRange<int>(0, 3) == 0 ? BI_RGB : PickFourcc(in);
    h.biSizeImage = 0;
    return h;
}

// The size a host claims for a frame buffer: around the natural size, 0
// (not stated), or anything small. Returns the claim; `allocate` is what the
// host really has, which for a claim of 0 is the natural size it meant.
inline std::uint32_t PickClaim(FuzzedDataProvider& in, std::uint64_t natural) {
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            return 0;
        case 1:
            return natural <= kMaxBuffer ? std::uint32_t(natural) : kMaxBuffer;
        case 2: {
            const std::int64_t delta = in.ConsumeIntegralInRange<std::int64_t>(-300, 300);
            const std::int64_t base = natural > 2u * kMaxBuffer ? std::int64_t(2u * kMaxBuffer) : std::int64_t(natural);
            const std::int64_t v = base + delta;
            return v < 1 ? 1u : v > std::int64_t(kMaxBuffer) ? kMaxBuffer : std::uint32_t(v);
        }
        default:
            return in.ConsumeIntegralInRange<std::uint32_t>(1, 65536);
    }
}

// The natural size of a header's frame: the codec's own size, or the DIB size.
inline std::uint64_t NaturalSize(const BITMAPINFOHEADER& h) {
    if (h.biCompression == BI_RGB) return lumacore::DibImageSize(h.biWidth, h.biHeight, h.biBitCount);
    const lumacore::FormatCode code = lumacore::FormatCodeOfHeader(&h);
    if (code < 0 || h.biWidth <= 0) return 0;
    const std::int64_t height = h.biHeight < 0 ? -std::int64_t(h.biHeight) : h.biHeight;
    return lumacore::CodecFrameSize(code, std::uint32_t(h.biWidth), std::uint32_t(height));
}

// A frame buffer as a host would hand it over for this header: claimed in
// biSizeImage, allocated at exactly the claim (or, for a claim of 0, at the
// natural size when that is small enough to allocate, else not at all: such
// a frame is skipped by the caller).
inline bool MakeFrame(FuzzedDataProvider& in, BITMAPINFOHEADER* h, Buffer* buffer, std::uint8_t fill) {
    const std::uint64_t natural = NaturalSize(*h);
    h->biSizeImage = PickClaim(in, natural);
    const std::uint64_t real = h->biSizeImage ? h->biSizeImage : natural;
    if (real > kMaxBuffer) return false;
    *buffer = MakeBuffer(std::uint32_t(real), fill);
    return true;
}

}  // namespace fuzz
