// ICM_GETINFO: who the driver says it is.
#pragma once

#include "driver/codec_instance.h"
#include "platform/win32.h"

namespace lumacore {

// Fills `info` (of `size` bytes) for the last opened FourCC and makes the
// instance propose that FourCC from now on. Returns 568 when `info` is null,
// 0 when `size` is too small, else the bytes written.
LRESULT HandleGetInfo(CodecInstance* instance, ICINFO* info, LPARAM size);

}  // namespace lumacore
