#include "png_writer.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <vector>

namespace lumacore_avi {
namespace {

// Releases a COM interface at scope end.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

std::string Failed(const char* what, HRESULT hr) {
    char text[128];
    std::snprintf(text, sizeof text, "%s failed (0x%08lx)", what, static_cast<unsigned long>(hr));
    return text;
}

std::wstring Widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? size_t(n) : 1u, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
    w.resize(wcslen(w.c_str()));
    return w;
}

}  // namespace

std::string WritePng(const std::string& path, const std::uint8_t* pixels, int width, int height, int bit_count) {
    if (width <= 0 || height <= 0 || (bit_count != 24 && bit_count != 32)) return "no RGB24/RGB32 image to write";
    // The PNG is 24-bit, top-down: flip the DIB and drop the fourth byte.
    const size_t src_stride = (size_t(width) * size_t(bit_count) / 8u + 3u) & ~size_t(3);
    const size_t dst_stride = (size_t(width) * 3u + 3u) & ~size_t(3);
    const size_t step = size_t(bit_count) / 8u;
    std::vector<std::uint8_t> top_down(dst_stride * size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = pixels + size_t(height - 1 - y) * src_stride;
        std::uint8_t* d = top_down.data() + size_t(y) * dst_stride;
        for (int x = 0; x < width; ++x, s += step, d += 3) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }

    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const bool uninit = SUCCEEDED(init);
    std::string error;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.out()));
        if (FAILED(hr)) error = Failed("creating the imaging factory", hr);
        if (error.empty() && FAILED(hr = factory->CreateStream(stream.out()))) error = Failed("CreateStream", hr);
        if (error.empty() && FAILED(hr = stream->InitializeFromFilename(Widen(path).c_str(), GENERIC_WRITE)))
            error = Failed(("opening " + path).c_str(), hr);
        if (error.empty() && FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())))
            error = Failed("creating the PNG encoder", hr);
        if (error.empty() && FAILED(hr = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
            error = Failed("starting the PNG encoder", hr);
        if (error.empty() && FAILED(hr = encoder->CreateNewFrame(frame.out(), options.out())))
            error = Failed("CreateNewFrame", hr);
        if (error.empty() && FAILED(hr = frame->Initialize(options.get()))) error = Failed("frame Initialize", hr);
        if (error.empty() && FAILED(hr = frame->SetSize(UINT(width), UINT(height)))) error = Failed("SetSize", hr);
        if (error.empty() && FAILED(hr = frame->SetPixelFormat(&format))) error = Failed("SetPixelFormat", hr);
        if (error.empty() && format != GUID_WICPixelFormat24bppBGR) error = "the PNG encoder refuses 24-bit BGR";
        if (error.empty() &&
            FAILED(hr = frame->WritePixels(UINT(height), UINT(dst_stride), UINT(top_down.size()), top_down.data())))
            error = Failed("WritePixels", hr);
        if (error.empty() && FAILED(hr = frame->Commit())) error = Failed("committing the frame", hr);
        if (error.empty() && FAILED(hr = encoder->Commit())) error = Failed("committing the PNG", hr);
    }
    if (uninit) CoUninitialize();
    return error;
}

}  // namespace lumacore_avi
