#include "png/png_blend.h"

#include "png/png_image.h"
#include "png/png_messages.h"

#include <algorithm>

namespace sc::png {

tk::TRect VisibleImagePart(const tk::TRect& clip, int left, int top, int width, int height) {
    const long long l = std::max<long long>(clip.left, left);
    const long long t = std::max<long long>(clip.top, top);
    const long long r = std::min<long long>(clip.right, static_cast<long long>(left) + width);
    const long long b = std::min<long long>(clip.bottom, static_cast<long long>(top) + height);
    if (r <= l || b <= t)
        return tk::TRect{};
    return tk::TRect{static_cast<int>(l - left), static_cast<int>(t - top),
                     static_cast<int>(r - left), static_cast<int>(b - top)};
}

void BlendImagePart(const TPNGObject& image, const tk::TRect& part, std::uint8_t* buffer) {
    const TChunkIHDR* header = image.FindHeader();
    if (!header || !header->Pixels() || IsEmptyRect(part))
        return;
    const unsigned bits = header->DibInfo().bmiHeader.biBitCount;
    const bool greyAlpha = header->ColorType() == COLOR_GRAYSCALEALPHA;
    const std::uint8_t* alphaPlane = header->AlphaPlane();
    const TRgbQuad* table = header->DibInfo().bmiColors;
    const auto* trns = image.ChunkList.FindChunk<TChunktRNS>();
    const auto* plte = image.ChunkList.FindChunk<TChunkPLTE>();
    const unsigned entries = plte ? static_cast<unsigned>(plte->EntryCount()) : 0;
    const std::size_t width = header->Width();
    const std::size_t stride = static_cast<std::size_t>(part.right - part.left) * 4;
    if ((bits == 24 || greyAlpha) && !alphaPlane)
        return;

    std::uint8_t* out = buffer;
    for (int y = part.top; y < part.bottom; ++y, out += stride) {
        const std::uint8_t* row = image.PixelRow(static_cast<std::uint32_t>(y));
        const std::uint8_t* alpha = alphaPlane ? alphaPlane + std::size_t(y) * width : nullptr;
        std::uint8_t* t = out;
        for (int xi = part.left; xi < part.right; ++xi, t += 4) {
            const auto x = static_cast<unsigned>(xi);
            unsigned a, b, g, r;
            if (bits == 24) {
                a = alpha[x];
                b = row[3 * x];
                g = row[3 * x + 1];
                r = row[3 * x + 2];
            } else if (greyAlpha) {
                a = alpha[x];
                b = g = r = row[x];
            } else {
                const unsigned i = PaletteIndex(row, bits, x);
                if (i >= entries)
                    TPNGObject::RaiseError<EPngError>(messages::EPNGUnknownPalEntryText);
                a = trns ? trns->AlphaValues[i] : 255;
                b = table[i].rgbBlue;
                g = table[i].rgbGreen;
                r = table[i].rgbRed;
            }
            t[0] = BlendChannel(a, b, t[0]);
            t[1] = BlendChannel(a, g, t[1]);
            t[2] = BlendChannel(a, r, t[2]);
        }
    }
}

} // namespace sc::png
