#include "wic_decoder.h"

#include <windows.h>

#include <wincodec.h>

#include <fstream>
#include <iterator>

namespace e2e {
namespace {

// Releases a COM interface at the end of a scope.
template <typename T> struct Released {
    T* p = nullptr;
    ~Released() {
        if (p) {
            p->Release();
        }
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

} // namespace

WicDecoder::WicDecoder() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(&factory_));
}

WicDecoder::~WicDecoder() {
    if (factory_) {
        factory_->Release();
    }
    CoUninitialize();
}

std::optional<snapshot::RgbImage> WicDecoder::decode(const std::vector<std::uint8_t>& file) const {
    Released<IWICStream> stream;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICBitmapSource> converted;
    if (!factory_ || file.empty() || FAILED(factory_->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()),
                                            static_cast<DWORD>(file.size()))) ||
        FAILED(factory_->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                 decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.p, converted.out()))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 65535 ||
        height > 65535) {
        return std::nullopt;
    }
    std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * 3);
    if (FAILED(
            converted->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data()))) {
        return std::nullopt;
    }
    snapshot::RgbImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(bgr.size());
    for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) {
        image.pixels[i] = bgr[i + 2];
        image.pixels[i + 1] = bgr[i + 1];
        image.pixels[i + 2] = bgr[i];
    }
    return image;
}

std::optional<snapshot::RgbImage> WicDecoder::decodeFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    return decode(file);
}

} // namespace e2e
