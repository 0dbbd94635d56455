// lumacore-avi: a console host that runs video through the installed codecs
// using only the platform's VCM and AVIFile calls, never a driver directly.
//
//   lumacore-avi codecs
//   lumacore-avi encode --fourcc FOURCC [--bitcount 24|32] [--size WxH] [--frames N]
//                       [--pattern bars|ramp|noise] [--input in.avi] [--source-raw src.bin] out.avi
//   lumacore-avi decode in.avi --to RGB24|RGB32|FOURCC [--raw out.bin] [--png frame.png [--frame N]]
//   lumacore-avi info in.avi
//   lumacore-avi compare a.bin b.bin
#include <windows.h>
#include <vfw.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "png_writer.h"
#include "test_pattern.h"

namespace {

using lumacore_avi::Pattern;
using Clock = std::chrono::steady_clock;

std::string FccText(DWORD fcc) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const char c = char((fcc >> (8 * i)) & 0xFF);
        s[i] = (c >= 32 && c < 127) ? c : '.';
    }
    return s;
}

DWORD FccOf(const std::string& s) {
    DWORD fcc = 0;
    for (int i = 0; i < 4; ++i) fcc |= DWORD(BYTE(s[i])) << (8 * i);
    return fcc;
}

std::string Narrow(const WCHAR* w) {
    char out[512];
    WideCharToMultiByte(CP_ACP, 0, w, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

int Fail(const char* format, const std::string& a = "", const std::string& b = "") {
    std::fprintf(stderr, "lumacore-avi: ");
    std::fprintf(stderr, format, a.c_str(), b.c_str());
    std::fprintf(stderr, "\n");
    return 1;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ParseInt(const std::string& text, long lo, long hi, long* value) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || v < lo || v > hi) return false;
    *value = v;
    return true;
}

// Closes what the VCM and AVIFile hand out, at scope end.
struct CodecHandle {
    HIC hic = nullptr;
    ~CodecHandle() {
        if (hic) ICClose(hic);
    }
};
struct AviLibrary {
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary() { AVIFileExit(); }
};
struct AviFile {
    PAVIFILE file = nullptr;
    ~AviFile() {
        if (file) AVIFileRelease(file);
    }
};
struct AviStream {
    PAVISTREAM stream = nullptr;
    ~AviStream() {
        if (stream) AVIStreamRelease(stream);
    }
};

std::string CodecName(HIC hic) {
    ICINFO info;
    std::memset(&info, 0, sizeof info);
    if (ICGetInfo(hic, &info, sizeof info) <= 0) return "(no information)";
    return FccText(info.fccHandler) + " " + Narrow(info.szDescription);
}

DWORD DibSize(LONG width, LONG height, int bit_count) {
    return DWORD((DWORD(width) * DWORD(bit_count) + 31u) / 32u * 4u * DWORD(height < 0 ? -height : height));
}

BITMAPINFOHEADER RgbHeader(LONG width, LONG height, int bit_count) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = WORD(bit_count);
    h.biCompression = BI_RGB;
    h.biSizeImage = DibSize(width, height, bit_count);
    return h;
}

// Reports progress on stderr when a run takes more than a moment.
class Progress {
public:
    Progress(const char* what, long total) : what_(what), total_(total), start_(Clock::now()), last_(start_) {}
    void Update(long done) {
        const auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(500)) return;
        last_ = now;
        shown_ = true;
        std::fprintf(stderr, "\r%s: frame %ld of %ld", what_, done, total_);
        std::fflush(stderr);
    }
    ~Progress() {
        if (shown_) std::fprintf(stderr, "\n");
    }

private:
    const char* what_;
    long total_;
    Clock::time_point start_, last_;
    bool shown_ = false;
};

void PrintRate(const char* what, long frames, double seconds, double bytes) {
    if (seconds <= 0) seconds = 1e-9;
    std::printf("%s: %ld frames in %.3f s: %.2f fps, %.1f MB/s\n", what, frames, seconds, frames / seconds,
                bytes / seconds / 1e6);
}

// An input AVI's first video stream, opened for reading.
struct AviInput {
    AviFile file;
    AviStream stream;
    AVISTREAMINFOW info{};
    std::vector<BYTE> format;
    long frames = 0;
    const BITMAPINFOHEADER* header() const { return reinterpret_cast<const BITMAPINFOHEADER*>(format.data()); }
};

int OpenAviInput(const std::string& path, AviInput* in) {
    if (!FileExists(path)) return Fail("%s: no such file", path);
    HRESULT hr = AVIFileOpenA(&in->file.file, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr);
    if (FAILED(hr)) return Fail("%s: not an AVI file the platform can read", path);
    hr = AVIFileGetStream(in->file.file, &in->stream.stream, streamtypeVIDEO, 0);
    if (FAILED(hr)) return Fail("%s: no video stream", path);
    AVIStreamInfoW(in->stream.stream, &in->info, sizeof in->info);
    LONG size = 0;
    if (AVIStreamReadFormat(in->stream.stream, AVIStreamStart(in->stream.stream), nullptr, &size) != 0 ||
        size < LONG(sizeof(BITMAPINFOHEADER)))
        return Fail("%s: the video stream has no bitmap format", path);
    in->format.resize(size_t(size));
    AVIStreamReadFormat(in->stream.stream, AVIStreamStart(in->stream.stream), in->format.data(), &size);
    in->frames = AVIStreamLength(in->stream.stream);
    const BITMAPINFOHEADER* h = in->header();
    if (h->biWidth <= 0 || h->biHeight == 0 || h->biWidth > 65536 || std::labs(h->biHeight) > 65536)
        return Fail("%s: implausible frame size in the stream format", path);
    return 0;
}

// Reads frame `index` into `buffer`; returns its chunk size or -1.
long ReadFrame(const AviInput& in, long index, std::vector<BYTE>* buffer) {
    LONG bytes = 0;
    if (AVIStreamRead(in.stream.stream, in.info.dwStart + DWORD(index), 1, nullptr, 0, &bytes, nullptr) != 0)
        return -1;
    if (size_t(bytes) > buffer->size()) buffer->resize(size_t(bytes));
    LONG samples = 0;
    if (AVIStreamRead(in.stream.stream, in.info.dwStart + DWORD(index), 1, buffer->data(), LONG(buffer->size()),
                      &bytes, &samples) != 0)
        return -1;
    return bytes;
}

// The output header for a decompression to `to`: RGB24, RGB32 or a FourCC.
bool OutputHeader(const std::string& to, LONG width, LONG height, BITMAPINFOHEADER* out) {
    if (to == "RGB24" || to == "RGB32") {
        *out = RgbHeader(width, height, to == "RGB24" ? 24 : 32);
        return true;
    }
    if (to.size() != 4) return false;
    *out = RgbHeader(width, height, 16);
    out->biCompression = FccOf(to);
    if (to == "YV12" || to == "I420" || to == "IYUV") out->biBitCount = 12;
    if (to == "v210") out->biBitCount = 20;
    // Room for any layout: a 10-bit line with an alpha area needs less than
    // 6 bytes a pixel, plus padding.
    out->biSizeImage = DWORD((size_t(width) + 48u) * 6u * size_t(height));
    return true;
}

int Info(const std::string& path) {
    AviLibrary library;
    AviInput in;
    if (const int rc = OpenAviInput(path, &in)) return rc;
    const BITMAPINFOHEADER* h = in.header();
    std::printf("file:        %s\n", path.c_str());
    std::printf("format:      %s, %ldx%ld, %u bits, biSizeImage %lu\n",
                h->biCompression == BI_RGB ? "RGB" : FccText(h->biCompression).c_str(), long(h->biWidth),
                long(h->biHeight), unsigned(h->biBitCount), static_cast<unsigned long>(h->biSizeImage));
    std::printf("handler:     %s\n", FccText(in.info.fccHandler).c_str());
    std::printf("frames:      %ld\n", in.frames);
    if (in.info.dwScale)
        std::printf("rate:        %.3f fps\n", double(in.info.dwRate) / double(in.info.dwScale));
    LONG state = 0;
    if (AVIStreamReadData(in.stream.stream, ckidSTREAMHANDLERDATA, nullptr, &state) == 0 && state > 0)
        std::printf("codec state: %ld bytes\n", long(state));
    BITMAPINFOHEADER rgb = RgbHeader(h->biWidth, h->biHeight < 0 ? -h->biHeight : h->biHeight, 24);
    CodecHandle codec;
    codec.hic = ICLocate(ICTYPE_VIDEO, 0, const_cast<BITMAPINFOHEADER*>(h), &rgb, ICMODE_DECOMPRESS);
    std::printf("decoder:     %s\n", codec.hic ? CodecName(codec.hic).c_str() : "none found by the VCM");
    return 0;
}

int Decode(int argc, char** argv) {
    std::string input, to, raw, png;
    long png_frame = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--to" && has_value) to = argv[++i];
        else if (a == "--raw" && has_value) raw = argv[++i];
        else if (a == "--png" && has_value) png = argv[++i];
        else if (a == "--frame" && has_value) {
            if (!ParseInt(argv[++i], 0, 1L << 30, &png_frame)) return Fail("--frame wants a frame number");
        } else if (a[0] != '-' && input.empty()) input = a;
        else return Fail("decode: unexpected argument '%s'", a);
    }
    if (input.empty() || to.empty()) return Fail("decode: usage: decode in.avi --to RGB24|RGB32|FOURCC [...]");

    BITMAPINFOHEADER out;
    if (!OutputHeader(to, 16, 16, &out)) return Fail("--to %s: want RGB24, RGB32 or a FourCC", to);

    AviLibrary library;
    AviInput in;
    if (const int rc = OpenAviInput(input, &in)) return rc;
    BITMAPINFOHEADER source;
    std::memcpy(&source, in.header(), sizeof source);
    const LONG width = source.biWidth, height = source.biHeight < 0 ? -source.biHeight : source.biHeight;
    OutputHeader(to, width, height, &out);
    const DWORD capacity = out.biSizeImage;

    CodecHandle codec;
    codec.hic = ICLocate(ICTYPE_VIDEO, 0, &source, &out, ICMODE_DECOMPRESS);
    if (!codec.hic)
        return Fail("no installed codec decompresses %s to %s",
                    source.biCompression == BI_RGB ? "RGB" : FccText(source.biCompression), to);
    if (ICDecompressBegin(codec.hic, &source, &out) != ICERR_OK)
        return Fail("the codec refuses to start decompressing to %s", to);

    FILE* raw_file = nullptr;
    if (!raw.empty() && !(raw_file = std::fopen(raw.c_str(), "wb"))) return Fail("%s: cannot create", raw);
    std::vector<BYTE> chunk(source.biSizeImage ? source.biSizeImage : 1u), frame(capacity);
    std::vector<BYTE> png_pixels;
    double seconds = 0, bytes_out = 0;
    int rc = 0;
    {
        Progress progress("decode", in.frames);
        for (long i = 0; i < in.frames && rc == 0; ++i) {
            const long bytes = ReadFrame(in, i, &chunk);
            if (bytes < 0) {
                rc = Fail("%s: cannot read a frame", input);
                break;
            }
            // Hosts announce each frame's own size, which may differ from the
            // stream header's.
            source.biSizeImage = DWORD(bytes);
            out.biSizeImage = capacity;
            const auto start = Clock::now();
            const DWORD result = ICDecompress(codec.hic, 0, &source, chunk.data(), &out, frame.data());
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
            if (result != ICERR_OK) {
                char text[32];
                std::snprintf(text, sizeof text, "%ld", i);
                rc = Fail("the codec could not decompress frame %s to %s", text, to);
                break;
            }
            const DWORD written = out.biSizeImage <= capacity ? out.biSizeImage : capacity;
            bytes_out += written;
            if (raw_file && std::fwrite(frame.data(), 1, written, raw_file) != written)
                rc = Fail("%s: write failed", raw);
            if (!png.empty() && i == png_frame && out.biCompression == BI_RGB)
                png_pixels.assign(frame.begin(), frame.begin() + written);
            progress.Update(i + 1);
        }
    }
    ICDecompressEnd(codec.hic);
    if (raw_file && std::fclose(raw_file) != 0 && rc == 0) rc = Fail("%s: write failed", raw);
    if (rc) return rc;
    PrintRate("decode", in.frames, seconds, bytes_out);

    if (!png.empty()) {
        if (png_frame >= in.frames) return Fail("--frame: the file has fewer frames");
        // The picture comes from an RGB24 decompression when --to is not RGB.
        int bits = out.biBitCount;
        if (png_pixels.empty()) {
            BITMAPINFOHEADER rgb = RgbHeader(width, height, 24);
            CodecHandle to_rgb;
            to_rgb.hic = ICLocate(ICTYPE_VIDEO, 0, &source, &rgb, ICMODE_DECOMPRESS);
            const long bytes = ReadFrame(in, png_frame, &chunk);
            png_pixels.resize(rgb.biSizeImage);
            if (!to_rgb.hic || bytes < 0) return Fail("no codec decompresses the picture to RGB24");
            source.biSizeImage = DWORD(bytes);
            if (ICDecompress(to_rgb.hic, 0, &source, chunk.data(), &rgb, png_pixels.data()) != ICERR_OK)
                return Fail("the codec could not decompress the picture to RGB24");
            bits = 24;
        }
        const std::string error = lumacore_avi::WritePng(png, png_pixels.data(), width, height, bits);
        if (!error.empty()) return Fail("%s: %s", png, error);
    }
    return 0;
}

// The RGB frames of an encode: generated, or decompressed from an AVI by
// whichever codec the VCM offers.
struct FrameSource {
    Pattern pattern = Pattern::kBars;
    AviInput avi;
    bool from_avi = false;
    BITMAPINFOHEADER avi_format{};
    CodecHandle decoder;
    std::vector<BYTE> chunk;
};

int Encode(int argc, char** argv) {
    std::string fourcc, output, input, pattern_name = "bars", source_raw;
    long bit_count = 24, frames = 3, width = 720, height = 486;
    bool size_given = false, frames_given = false;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--fourcc" && has_value) fourcc = argv[++i];
        else if (a == "--bitcount" && has_value) {
            if (!ParseInt(argv[++i], 24, 32, &bit_count) || (bit_count != 24 && bit_count != 32))
                return Fail("--bitcount: 24 or 32");
        } else if (a == "--size" && has_value) {
            const std::string s = argv[++i];
            const size_t x = s.find('x');
            if (x == std::string::npos || !ParseInt(s.substr(0, x), 1, 16384, &width) ||
                !ParseInt(s.substr(x + 1), 1, 16384, &height))
                return Fail("--size %s: want WxH, each 1 to 16384", s);
            size_given = true;
        } else if (a == "--frames" && has_value) {
            if (!ParseInt(argv[++i], 1, 1000000, &frames)) return Fail("--frames: 1 to 1000000");
            frames_given = true;
        } else if (a == "--pattern" && has_value) pattern_name = argv[++i];
        else if (a == "--input" && has_value) input = argv[++i];
        else if (a == "--source-raw" && has_value) source_raw = argv[++i];
        else if (a[0] != '-' && output.empty()) output = a;
        else return Fail("encode: unexpected argument '%s'", a);
    }
    if (fourcc.size() != 4 || output.empty())
        return Fail("encode: usage: encode --fourcc FOURCC [options] out.avi (FourCC of 4 characters)");

    AviLibrary library;
    FrameSource src;
    if (!lumacore_avi::ParsePattern(pattern_name, &src.pattern)) return Fail("--pattern %s: bars, ramp or noise", pattern_name);
    if (!input.empty()) {
        if (const int rc = OpenAviInput(input, &src.avi)) return rc;
        std::memcpy(&src.avi_format, src.avi.header(), sizeof src.avi_format);
        width = src.avi_format.biWidth;
        height = src.avi_format.biHeight < 0 ? -src.avi_format.biHeight : src.avi_format.biHeight;
        if (size_given) return Fail("--size: the input AVI decides the size");
        if (!frames_given || frames > src.avi.frames) frames = src.avi.frames;
        src.from_avi = true;
    }

    BITMAPINFOHEADER rgb = RgbHeader(width, height, int(bit_count));
    if (src.from_avi) {
        src.decoder.hic = ICLocate(ICTYPE_VIDEO, 0, &src.avi_format, &rgb, ICMODE_DECOMPRESS);
        if (!src.decoder.hic) return Fail("%s: no installed codec decompresses its video to RGB", input);
    }

    const DWORD fcc = FccOf(fourcc);
    CodecHandle codec;
    codec.hic = ICOpen(ICTYPE_VIDEO, fcc, ICMODE_COMPRESS);
    if (!codec.hic) return Fail("no installed codec compresses to FourCC '%s'", fourcc);
    // Asking for the information is what makes a codec that answers under
    // several FourCCs propose the one it was opened for.
    CodecName(codec.hic);
    BITMAPINFOHEADER format{};
    char size_text[64];
    std::snprintf(size_text, sizeof size_text, "%ldx%ld", width, height);
    if (ICCompressGetFormat(codec.hic, &rgb, &format) != ICERR_OK || ICCompressQuery(codec.hic, &rgb, &format) != ICERR_OK)
        return Fail("the %s codec refuses %s RGB frames of this bit count", fourcc, size_text);
    if (format.biCompression != fcc)
        return Fail("the codec opened for '%s' proposes FourCC '%s'", fourcc, FccText(format.biCompression));
    const DWORD capacity = DWORD(ICCompressGetSize(codec.hic, &rgb, &format));
    if (capacity == 0 || LONG(capacity) < 0) return Fail("the %s codec refuses the size %s", fourcc, size_text);
    if (ICCompressBegin(codec.hic, &rgb, &format) != ICERR_OK)
        return Fail("the %s codec refuses to start compressing %s", fourcc, size_text);

    DeleteFileA(output.c_str());
    AviFile file;
    if (FAILED(AVIFileOpenA(&file.file, output.c_str(), OF_CREATE | OF_WRITE, nullptr)))
        return Fail("%s: cannot create", output);
    AVISTREAMINFOA info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = fcc;
    info.dwScale = 1;
    info.dwRate = 25;
    info.dwSuggestedBufferSize = capacity;
    info.dwQuality = DWORD(-1);
    SetRect(&info.rcFrame, 0, 0, int(width), int(height));
    if (src.from_avi) {
        info.dwScale = src.avi.info.dwScale ? src.avi.info.dwScale : 1;
        info.dwRate = src.avi.info.dwRate ? src.avi.info.dwRate : 25;
    }
    AviStream stream;
    if (FAILED(AVIFileCreateStreamA(file.file, &stream.stream, &info))) return Fail("%s: cannot add a video stream", output);
    BITMAPINFOHEADER stored = format;
    if (FAILED(AVIStreamSetFormat(stream.stream, 0, &stored, sizeof stored)))
        return Fail("%s: cannot store the stream format", output);
    // The codec's settings travel with the stream, so a reader decodes with
    // the same matrices.
    const DWORD state_size = DWORD(ICGetStateSize(codec.hic));
    if (state_size > 0 && state_size < 65536) {
        std::vector<BYTE> state(state_size);
        if (ICGetState(codec.hic, state.data(), state_size) == ICERR_OK)
            AVIStreamWriteData(stream.stream, ckidSTREAMHANDLERDATA, state.data(), LONG(state_size));
    }

    FILE* raw_file = nullptr;
    if (!source_raw.empty() && !(raw_file = std::fopen(source_raw.c_str(), "wb")))
        return Fail("%s: cannot create", source_raw);
    std::vector<BYTE> pixels(rgb.biSizeImage), compressed(capacity);
    if (src.from_avi) src.chunk.resize(src.avi_format.biSizeImage ? src.avi_format.biSizeImage : 1u);
    double seconds = 0, bytes_in = 0;
    int rc = 0;
    {
        Progress progress("encode", frames);
        for (long i = 0; i < frames && rc == 0; ++i) {
            char index[32];
            std::snprintf(index, sizeof index, "%ld", i);
            if (src.from_avi) {
                const long bytes = ReadFrame(src.avi, i, &src.chunk);
                src.avi_format.biSizeImage = DWORD(bytes);
                BITMAPINFOHEADER out = rgb;
                if (bytes < 0 ||
                    ICDecompress(src.decoder.hic, 0, &src.avi_format, src.chunk.data(), &out, pixels.data()) != ICERR_OK) {
                    rc = Fail("%s: cannot decompress input frame %s", input, index);
                    break;
                }
            } else {
                lumacore_avi::FillPattern(src.pattern, int(i), int(width), int(height), int(bit_count), pixels.data());
            }
            if (raw_file && std::fwrite(pixels.data(), 1, pixels.size(), raw_file) != pixels.size()) {
                rc = Fail("%s: write failed", source_raw);
                break;
            }
            BITMAPINFOHEADER out = format;
            out.biSizeImage = capacity;
            DWORD ckid = 0, flags = 0;
            const auto start = Clock::now();
            const DWORD result = ICCompress(codec.hic, ICCOMPRESS_KEYFRAME, &out, compressed.data(), &rgb, pixels.data(),
                                            &ckid, &flags, i, 0, 0, nullptr, nullptr);
            seconds += std::chrono::duration<double>(Clock::now() - start).count();
            if (result != ICERR_OK || out.biSizeImage == 0 || out.biSizeImage > capacity) {
                rc = Fail("the %s codec could not compress frame %s", fourcc, index);
                break;
            }
            bytes_in += double(rgb.biSizeImage);
            if (FAILED(AVIStreamWrite(stream.stream, i, 1, compressed.data(), LONG(out.biSizeImage), AVIIF_KEYFRAME,
                                      nullptr, nullptr))) {
                rc = Fail("%s: cannot write frame %s", output, index);
                break;
            }
            progress.Update(i + 1);
        }
    }
    ICCompressEnd(codec.hic);
    if (raw_file && std::fclose(raw_file) != 0 && rc == 0) rc = Fail("%s: write failed", source_raw);
    if (rc) return rc;
    PrintRate("encode", frames, seconds, bytes_in);
    return 0;
}

// Largest difference between two files of bytes, as the demo reports it.
int Compare(const std::string& a, const std::string& b) {
    FILE* fa = std::fopen(a.c_str(), "rb");
    FILE* fb = std::fopen(b.c_str(), "rb");
    if (!fa || !fb) {
        if (fa) std::fclose(fa);
        if (fb) std::fclose(fb);
        return Fail("compare: cannot open %s or %s", a, b);
    }
    std::vector<unsigned char> ba(1 << 20), bb(1 << 20);
    int largest = 0;
    unsigned long long total = 0;
    bool same_length = true;
    for (;;) {
        const size_t na = std::fread(ba.data(), 1, ba.size(), fa), nb = std::fread(bb.data(), 1, bb.size(), fb);
        const size_t n = na < nb ? na : nb;
        for (size_t i = 0; i < n; ++i) {
            const int d = std::abs(int(ba[i]) - int(bb[i]));
            if (d > largest) largest = d;
        }
        total += n;
        if (na != nb) same_length = false;
        if (na < ba.size() || nb < bb.size()) break;
    }
    std::fclose(fa);
    std::fclose(fb);
    if (!same_length) return Fail("compare: %s and %s differ in length", a, b);
    std::printf("largest difference %d over %llu bytes\n", largest, total);
    return 0;
}

int ListCodecs() {
    std::printf("%-6s %-14s %-18s %s\n", "FourCC", "Driver", "Name", "Description");
    int count = 0;
    ICINFO listed;
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &listed); ++i) {
        ICINFO info;
        std::memset(&info, 0, sizeof info);
        std::string name = "-", description = "(could not be opened)";
        if (HIC hic = ICOpen(ICTYPE_VIDEO, listed.fccHandler, ICMODE_QUERY)) {
            if (ICGetInfo(hic, &info, sizeof info) > 0) {
                name = Narrow(info.szName);
                description = Narrow(info.szDescription);
            }
            ICClose(hic);
        }
        std::printf("%-6s %-14s %-18s %s\n", FccText(listed.fccHandler).c_str(), Narrow(listed.szDriver).c_str(),
                    name.c_str(), description.c_str());
        ++count;
    }
    std::printf("%d video codecs installed\n", count);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lumacore-avi COMMAND ...\n"
                 "  codecs                      list every installed video codec\n"
                 "  encode --fourcc FOURCC [--bitcount 24|32] [--size WxH] [--frames N]\n"
                 "         [--pattern bars|ramp|noise] [--input in.avi] [--source-raw src.bin] out.avi\n"
                 "  decode in.avi --to RGB24|RGB32|FOURCC [--raw out.bin] [--png frame.png [--frame N]]\n"
                 "  info in.avi                 stream format, frame count, the codec the VCM picks\n"
                 "  compare a.bin b.bin         largest byte difference of two files\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "codecs") return ListCodecs();
    if (command == "encode") return Encode(argc, argv);
    if (command == "decode") return Decode(argc, argv);
    if (command == "info" && argc == 3) return Info(argv[2]);
    if (command == "compare" && argc == 4) return Compare(argv[2], argv[3]);
    return Usage();
}
