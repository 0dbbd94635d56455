// The decompression messages: can this be decompressed, into what, and do it.
#pragma once

#include "driver/codec_instance.h"
#include "platform/win32.h"

namespace lumacore {

// ICM_DECOMPRESS_QUERY: ICERR_OK or ICERR_BADFORMAT.
LRESULT DecompressQuery(const CodecInstance& instance, const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out);

// ICM_DECOMPRESS_GET_FORMAT: 40 with no output buffer, else ICERR_OK with a
// bottom-up RGB24 proposal, or ICERR_BADFORMAT.
LRESULT DecompressGetFormat(const CodecInstance& instance, const BITMAPINFOHEADER* in, BITMAPINFOHEADER* out);

// ICM_DECOMPRESS: ICERR_OK, or ICERR_ERROR with the output biSizeImage 0.
LRESULT Decompress(const CodecInstance& instance, const ICDECOMPRESS* frame);

// The colour matrix a frame of this source height uses, in both directions.
std::int32_t MatrixForHeight(const CodecSettings& settings, LONG source_height);

}  // namespace lumacore
