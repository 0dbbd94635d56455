// Fuzzes the driver's entry point as hosts reach it: any message, any header
// fields, any claimed sizes, with every buffer exactly as large as claimed.
#include <cstring>

#include "driver/driver_proc.h"
#include "platform/posix/test_hooks.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using fuzz::Buffer;

// Messages whose parameters are headers, records or buffers: each is sent
// with memory of exactly the size its parameters claim.
void SendStructured(FuzzedDataProvider& in, DWORD_PTR id) {
    const UINT kMessages[] = {ICM_DECOMPRESS_QUERY, ICM_DECOMPRESS_GET_FORMAT, ICM_DECOMPRESS,
                              ICM_COMPRESS_QUERY,   ICM_COMPRESS_GET_FORMAT,   ICM_COMPRESS_GET_SIZE,
                              ICM_COMPRESS,         ICM_GETSTATE,              ICM_SETSTATE,
                              ICM_GETINFO,          ICM_COMPRESS_FRAMES_INFO,  ICM_GETDEFAULTQUALITY};
    const UINT message = kMessages[in.ConsumeIntegralInRange<int>(0, int(sizeof kMessages / sizeof kMessages[0]) - 1)];
    switch (message) {
        case ICM_GETSTATE:
        case ICM_SETSTATE:
        case ICM_GETINFO: {
            const std::uint32_t size = in.ConsumeIntegralInRange<std::uint32_t>(0, 700);
            Buffer buffer = fuzz::MakeBuffer(size, 0x11);
            const LPARAM claim = in.ConsumeBool() ? LPARAM(size) : LPARAM(in.ConsumeIntegral<std::int32_t>());
            // A claim larger than the buffer is the host lying; skip it, as no
            // driver can defend against that.
            if (claim > LPARAM(size)) return;
            DriverProc(id, nullptr, message, in.ConsumeBool() ? LPARAM(buffer.data()) : 0, claim);
            return;
        }
        case ICM_COMPRESS_FRAMES_INFO: {
            ICCOMPRESSFRAMES frames{};
            frames.dwRate = in.ConsumeIntegral<DWORD>();
            frames.dwScale = in.ConsumeIntegral<DWORD>();
            DriverProc(id, nullptr, message, in.ConsumeBool() ? LPARAM(&frames) : 0, sizeof frames);
            return;
        }
        case ICM_GETDEFAULTQUALITY: {
            DWORD quality = 0;
            DriverProc(id, nullptr, message, in.ConsumeBool() ? LPARAM(&quality) : 0, 0);
            return;
        }
        default:
            break;
    }

    // Header pairs and frames.
    auto in_header = std::make_unique<BITMAPINFOHEADER>(fuzz::PickHeader(in));
    auto out_header = std::make_unique<BITMAPINFOHEADER>(in.ConsumeBool() ? *in_header : fuzz::PickHeader(in));
    if (in.ConsumeBool()) {
        out_header->biWidth = in_header->biWidth;
        out_header->biHeight = in_header->biHeight;
    }
    if (message == ICM_DECOMPRESS || message == ICM_COMPRESS) {
        Buffer src, dst;
        if (!fuzz::MakeFrame(in, in_header.get(), &src, 0x5A)) return;
        if (!fuzz::MakeFrame(in, out_header.get(), &dst, 0xC3)) return;
        if (message == ICM_DECOMPRESS) {
            ICDECOMPRESS frame{0, in_header.get(), src.data(), out_header.get(), dst.data(), 0};
            DriverProc(id, nullptr, message, LPARAM(&frame), sizeof frame);
        } else {
            DWORD ckid = in.ConsumeIntegral<DWORD>(), flags = 0;
            ICCOMPRESS frame{};
            frame.lpbiOutput = out_header.get();
            frame.lpOutput = dst.data();
            frame.lpbiInput = in_header.get();
            frame.lpInput = src.data();
            frame.lpckid = in.ConsumeBool() ? &ckid : nullptr;
            frame.lpdwFlags = &flags;
            DriverProc(id, nullptr, message, LPARAM(&frame), sizeof frame);
        }
        return;
    }
    const bool with_output = in.ConsumeBool();
    DriverProc(id, nullptr, message, LPARAM(in_header.get()), with_output ? LPARAM(out_header.get()) : 0);
}

// Messages whose parameters are plain numbers, including every message the
// driver does not know.
void SendNumeric(FuzzedDataProvider& in, DWORD_PTR id) {
    UINT message = in.ConsumeIntegral<UINT>();
    // Messages that take pointers are sent structured; here they would only
    // test the fuzzer's ability to invent bad pointers. The dialogs are
    // asked only whether they exist.
    switch (message) {
        case DRV_OPEN:
        case DRV_CLOSE:
        case ICM_GETSTATE:
        case ICM_SETSTATE:
        case ICM_GETINFO:
        case ICM_GETDEFAULTQUALITY:
        case ICM_COMPRESS_FRAMES_INFO:
        case ICM_COMPRESS_GET_FORMAT:
        case ICM_COMPRESS_GET_SIZE:
        case ICM_COMPRESS_QUERY:
        case ICM_COMPRESS:
        case ICM_DECOMPRESS_GET_FORMAT:
        case ICM_DECOMPRESS_QUERY:
        case ICM_DECOMPRESS:
            return;
        case ICM_CONFIGURE:
        case ICM_ABOUT:
        case DRV_CONFIGURE:
            DriverProc(id, nullptr, message, LPARAM(-1), 0);
            return;
        default:
            DriverProc(id, nullptr, message, in.ConsumeIntegralInRange<LPARAM>(0, 0xFFFF), in.ConsumeIntegral<LPARAM>());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    platform_test::ResetRegistry();
    if (in.ConsumeBool()) {
        // A stored settings record of any values.
        for (const char* name : {"enc_matrix", "enc_matrix_hd", "board_align_720", "board_align_VESA", "fourcc_used",
                                 "fourcc_bitcount"})
            platform_test::WriteRegistryDword(HKEY_CURRENT_USER, "Software\\Orvane Technologies\\Lumacore", name,
                                              in.ConsumeIntegral<DWORD>());
    }

    ICOPEN open{};
    open.dwSize = sizeof open;
    open.fccType = in.ConsumeIntegralInRange<int>(0, 7) ? lumacore::FCC_VIDC : in.ConsumeIntegral<DWORD>();
    open.fccHandler = fuzz::PickFourcc(in);
    const LRESULT id = DriverProc(0, nullptr, DRV_OPEN, 0, in.ConsumeBool() ? LPARAM(&open) : 0);
    if (!id) return 0;

    if (in.ConsumeBool()) {
        // Any state a host may restore, unclamped.
        std::uint8_t state[72];
        for (std::uint8_t& b : state) b = in.ConsumeIntegral<std::uint8_t>();
        DriverProc(DWORD_PTR(id), nullptr, ICM_SETSTATE, LPARAM(state), sizeof state);
    }
    for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
        if (in.ConsumeIntegralInRange<int>(0, 4))
            SendStructured(in, DWORD_PTR(id));
        else
            SendNumeric(in, DWORD_PTR(id));
    }
    DriverProc(DWORD_PTR(id), nullptr, DRV_CLOSE, 0, 0);
    return 0;
}
