#include "wic_decoder.h"

#include "text/utf.h"

#include <windows.h>

#include <wincodec.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

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

std::optional<snapshot::RgbImage> WicDecoder::decode(const std::vector<std::uint8_t>& file,
                                                     bool alpha) const {
    const UINT channels = alpha ? 4 : 3;
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
        FAILED(WICConvertBitmapSource(alpha ? GUID_WICPixelFormat32bppBGRA
                                            : GUID_WICPixelFormat24bppBGR,
                                      frame.p, converted.out()))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 65535 ||
        height > 65535) {
        return std::nullopt;
    }
    snapshot::RgbImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * height * channels);
    if (FAILED(converted->CopyPixels(nullptr, width * channels,
                                     static_cast<UINT>(image.pixels.size()),
                                     image.pixels.data()))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i + 2 < image.pixels.size(); i += channels) {
        std::swap(image.pixels[i], image.pixels[i + 2]); // B G R to R G B
    }
    return image;
}

std::optional<snapshot::RgbImage> WicDecoder::decodeFile(const std::string& path,
                                                         bool alpha) const {
    std::ifstream in(std::filesystem::path(sc::text::toUtf16(path)), std::ios::binary);
    return decode(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                            std::istreambuf_iterator<char>()),
                  alpha);
}

} // namespace e2e
