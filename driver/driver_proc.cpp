#include "driver/driver_proc.h"

#include <cstring>
#include <new>

#include "config_ui/about_box.h"
#include "driver/codec_instance.h"
#include "driver/configure_exchange.h"
#include "driver/module_state.h"
#include "driver/settings_store.h"
#include "driver/codec_info.h"
#include "driver/compress_path.h"
#include "driver/decompress_path.h"
#include "formats/fourcc.h"
#include "formats/fourcc_catalogue.h"

namespace lumacore {
namespace {

constexpr LPARAM kQueryOnly = LPARAM(-1);  // "does this dialog exist?"
constexpr LRESULT kDefaultQuality = 7500;

LRESULT OpenInstance(ICOPEN* open) {
    if (open && open->fccType != FCC_VIDC) return 0;
    auto* instance = new (std::nothrow) CodecInstance{};
    if (!instance) {
        if (open) open->dwError = ICERR_MEMORY;
        return 0;
    }
    if (open) {
        const DWORD fourcc = NormaliseFourcc(open->fccHandler);
        SetLastOpenedFourcc(fourcc);
        if (IsKnownFourcc(fourcc)) instance->own_fourcc = fourcc;
    }
    LoadSettings(&instance->settings);
    instance->bands = LoadBandCount();
    if (instance->own_fourcc) {
        instance->settings.fourcc_used = std::int32_t(instance->own_fourcc);
        instance->settings.fourcc_bitcount = NaturalBitCount(instance->own_fourcc);
    }
    if (open) open->dwError = ICERR_OK;
    return LRESULT(instance);
}

LRESULT GetState(const CodecInstance* instance, void* buffer, LPARAM size) {
    if (!buffer) return sizeof(CodecSettings);
    // Copying the whole record through a smaller buffer would overrun it.
    if (size < LPARAM(sizeof(CodecSettings))) return ICERR_BADSIZE;
    std::memcpy(buffer, &instance->settings, sizeof(CodecSettings));
    return ICERR_OK;
}

LRESULT SetState(CodecInstance* instance, const void* buffer, LPARAM size) {
    if (!buffer) {
        LoadSettings(&instance->settings);
        return 0;
    }
    if (size < LPARAM(sizeof(CodecSettings))) return ICERR_BADSIZE;
    // Taken as it comes: a host's stored state is restored exactly.
    std::memcpy(&instance->settings, buffer, sizeof(CodecSettings));
    return 0;
}

// Messages that act on an instance; the rest answer without one.
bool NeedsInstance(UINT message) {
    switch (message) {
        case ICM_GETSTATE:
        case ICM_SETSTATE:
        case ICM_GETINFO:
        case ICM_COMPRESS_FRAMES_INFO:
        case ICM_COMPRESS_QUERY:
        case ICM_COMPRESS_GET_FORMAT:
        case ICM_COMPRESS_GET_SIZE:
        case ICM_COMPRESS:
        case ICM_DECOMPRESS_QUERY:
        case ICM_DECOMPRESS_GET_FORMAT:
        case ICM_DECOMPRESS:
            return true;
        default:
            return false;
    }
}

LRESULT CompressorMessage(CodecInstance* instance, UINT message, LPARAM p1, LPARAM p2) {
    if (NeedsInstance(message) && !instance) return ICERR_BADHANDLE;
    switch (message) {
        case ICM_COMPRESS_BEGIN:
        case ICM_COMPRESS_END:
        case ICM_DECOMPRESS_BEGIN:
        case ICM_DECOMPRESS_END:
        case ICM_SET:
        case ICM_GET:
            return ICERR_OK;

        case ICM_DECOMPRESS_GET_PALETTE:
            return ICERR_BADFORMAT;

        case ICM_COMPRESS_FRAMES_INFO: {
            const auto* frames = reinterpret_cast<const ICCOMPRESSFRAMES*>(p1);
            if (!frames) return ICERR_BADPARAM;
            instance->frame_rate = frames->dwRate;
            instance->frame_scale = frames->dwScale;
            return ICERR_OK;
        }

        case ICM_COMPRESS_QUERY:
            return CompressQuery(*instance, reinterpret_cast<const BITMAPINFOHEADER*>(p1),
                                 reinterpret_cast<const BITMAPINFOHEADER*>(p2));
        case ICM_COMPRESS_GET_FORMAT:
            return CompressGetFormat(*instance, reinterpret_cast<BITMAPINFOHEADER*>(p1),
                                     reinterpret_cast<BITMAPINFOHEADER*>(p2));
        case ICM_COMPRESS_GET_SIZE:
            return CompressGetSize(*instance, reinterpret_cast<const BITMAPINFOHEADER*>(p1),
                                   reinterpret_cast<const BITMAPINFOHEADER*>(p2));
        case ICM_COMPRESS:
            return Compress(*instance, reinterpret_cast<const ICCOMPRESS*>(p1));

        case ICM_DECOMPRESS_QUERY:
            return DecompressQuery(*instance, reinterpret_cast<const BITMAPINFOHEADER*>(p1),
                                   reinterpret_cast<const BITMAPINFOHEADER*>(p2));
        case ICM_DECOMPRESS_GET_FORMAT:
            return DecompressGetFormat(*instance, reinterpret_cast<const BITMAPINFOHEADER*>(p1),
                                       reinterpret_cast<BITMAPINFOHEADER*>(p2));
        case ICM_DECOMPRESS:
            return Decompress(*instance, reinterpret_cast<const ICDECOMPRESS*>(p1));

        case ICM_GETSTATE:
            return GetState(instance, reinterpret_cast<void*>(p1), p2);
        case ICM_SETSTATE:
            return SetState(instance, reinterpret_cast<const void*>(p1), p2);
        case ICM_GETINFO:
            return HandleGetInfo(instance, reinterpret_cast<ICINFO*>(p1), p2);

        case ICM_CONFIGURE:
            if (p1 == kQueryOnly) return ICERR_OK;
            if (!instance) return ICERR_BADHANDLE;  // nothing to edit
            // Whether the user accepted or cancelled, the exchange went as asked.
            RunConfigureExchange(instance, reinterpret_cast<HWND>(p1));
            return ICERR_OK;

        case ICM_ABOUT:
            if (p1 != kQueryOnly) ShowAboutBox(reinterpret_cast<HWND>(p1));
            return ICERR_OK;

        case ICM_GETDEFAULTQUALITY:
            if (!p1) return ICERR_UNSUPPORTED;
            *reinterpret_cast<DWORD*>(p1) = kDefaultQuality;
            return ICERR_OK;

        default:
            // Palettes, buffers, key-frame rates, DecompressEx, qualities,
            // drawing, error texts, format names and everything unknown.
            return ICERR_UNSUPPORTED;
    }
}

}  // namespace
}  // namespace lumacore

extern "C" LUMACORE_REALIGN_STACK LRESULT WINAPI DriverProc(DWORD_PTR dwDriverId, HDRVR hDriver, UINT uMsg,
                                                            LPARAM lParam1, LPARAM lParam2) {
    using namespace lumacore;
    auto* instance = reinterpret_cast<CodecInstance*>(dwDriverId);
    switch (uMsg) {
        case DRV_LOAD:
        case DRV_ENABLE:
        case DRV_DISABLE:
        case DRV_FREE:
        case DRV_QUERYCONFIGURE:
        case DRV_INSTALL:
        case DRV_REMOVE:
            return 1;
        case DRV_OPEN:
            return OpenInstance(reinterpret_cast<ICOPEN*>(lParam2));
        case DRV_CLOSE:
            delete instance;
            return 1;
        case DRV_CONFIGURE:
            if (lParam1 != kQueryOnly) ShowAboutBox(reinterpret_cast<HWND>(lParam1));
            return 1;
        default:
            if (uMsg < DRV_USER) return DefDriverProc(dwDriverId, hDriver, uMsg, lParam1, lParam2);
            return CompressorMessage(instance, uMsg, lParam1, lParam2);
    }
}
