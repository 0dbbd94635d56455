// The compression messages: can this be compressed, into what, how large,
// and do it.
#pragma once

#include <cstdint>

#include "driver/codec_instance.h"
#include "platform/win32.h"

namespace lumacore {

// ICM_COMPRESS_QUERY: ICERR_OK or ICERR_BADFORMAT. Any pair of the
// compression formats of equal size passes, RGB to RGB included (which then
// fails at the frame).
LRESULT CompressQuery(const CodecInstance& instance, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);

// ICM_COMPRESS_GET_FORMAT: 40 with no output buffer, else ICERR_OK with the
// instance's FourCC and bit count proposed at the input's size, or
// ICERR_BADFORMAT. An input header with biSize 0 is given biSize 40.
LRESULT CompressGetFormat(const CodecInstance& instance, BITMAPINFOHEADER* in, BITMAPINFOHEADER* out);

// ICM_COMPRESS_GET_SIZE: the largest frame ICM_COMPRESS writes for this
// input and output under the instance's settings, and never less than the
// codec's size table gives; ICERR_BADFORMAT when no size can be given.
LRESULT CompressGetSize(const CodecInstance& instance, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);

// ICM_COMPRESS: ICERR_OK with every frame a key frame and the chunk
// identifier rewritten, or ICERR_ERROR with the output biSizeImage 0.
LRESULT Compress(const CodecInstance& instance, const ICCOMPRESS* frame);

// The identifier of a compressed-DIB chunk ("##dc") of the stream that
// `ckid` names in its first two characters, read and written as the
// platform's AVI chunk macros do.
DWORD CompressedChunkId(DWORD ckid);

}  // namespace lumacore
