#include "png/png_scaled_pictures.h"

#include "png/png_blend.h"
#include "png/png_messages.h"
#include "png/png_stream.h"

#include <algorithm>

namespace sc::png {

void ReadRgbaPixels(const TPNGObject& image, int y, int x0, int x1, std::uint8_t* out) {
    const TChunkIHDR& header = image.HeaderChunk();
    const std::uint8_t* row = image.PixelRow(static_cast<std::uint32_t>(y));
    if (!row)
        return;
    const unsigned bits = header.DibInfo().bmiHeader.biBitCount;
    const bool greyAlpha = header.ColorType() == COLOR_GRAYSCALEALPHA;
    const std::uint8_t* alpha = image.AlphaRow(static_cast<std::uint32_t>(y));
    const TRgbQuad* table = header.DibInfo().bmiColors;
    const TTransparencyKind kind = image.TransparencyKind();
    const auto* trns = image.ChunkList.FindChunk<TChunktRNS>();
    const bool perEntry = kind == tkPerPixel && trns && !alpha;
    const std::uint32_t key = kind == tkKeyColor ? image.KeyColor() : 0;
    const auto* plte = image.ChunkList.FindChunk<TChunkPLTE>();
    const unsigned entries = plte ? static_cast<unsigned>(plte->EntryCount()) : 256;
    for (int xi = x0; xi < x1; ++xi, out += 4) {
        const auto x = static_cast<unsigned>(xi);
        unsigned r, g, b, a = 255;
        if (bits == 24) {
            b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
        } else if (greyAlpha) {
            b = g = r = row[x];
        } else {
            const unsigned i = PaletteIndex(row, bits, x);
            if (header.ColorType() == COLOR_PALETTE && i >= entries)
                TPNGObject::RaiseError<EPngError>(messages::EPNGUnknownPalEntryText);
            b = table[i].rgbBlue, g = table[i].rgbGreen, r = table[i].rgbRed;
            if (perEntry)
                a = trns->AlphaValues[i];
        }
        if (alpha)
            a = alpha[x];
        else if (kind == tkKeyColor && (r | g << 8 | b << 16) == key)
            a = 0;
        out[0] = static_cast<std::uint8_t>(r);
        out[1] = static_cast<std::uint8_t>(g);
        out[2] = static_cast<std::uint8_t>(b);
        out[3] = static_cast<std::uint8_t>(a);
    }
}

gfx::RgbaRows RgbaRowsOf(const TPNGObject& image) {
    const TChunkIHDR* header = image.FindHeader();
    if (!header || !header->Pixels())
        return gfx::RgbaRows{};
    return gfx::RgbaRows{image.Width(), image.Height(),
                         [&image](int y, int x0, int x1, std::uint8_t* out) {
                             ReadRgbaPixels(image, y, x0, x1, out);
                         }};
}

std::unique_ptr<TPNGObject> RgbaPng(int width, int height, std::span<const std::uint8_t> rgba) {
    auto png = std::make_unique<TPNGObject>();
    auto* header = static_cast<TChunkIHDR*>(TChunkIHDR::Class.Create(*png).release());
    png->ChunkList.Add(header);
    header->Define(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8,
                   COLOR_RGBALPHA);
    png->ChunkList.Add(TChunkIDAT::Class.Create(*png).release());
    png->ChunkList.Add(TChunkIEND::Class.Create(*png).release());
    const auto w = static_cast<std::size_t>(width);
    if (rgba.size() / 4 / w < static_cast<std::size_t>(height))
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAddInvalidImageText);
    for (std::uint32_t y = 0; y < static_cast<std::uint32_t>(height); ++y) {
        std::uint8_t* row = png->PixelRow(y);
        std::uint8_t* alpha = png->AlphaRow(y);
        const std::uint8_t* from = rgba.data() + y * w * 4;
        for (std::size_t x = 0; x < w; ++x, from += 4) {
            row[3 * x] = from[2];
            row[3 * x + 1] = from[1];
            row[3 * x + 2] = from[0];
            alpha[x] = from[3];
        }
    }
    return png;
}

std::unique_ptr<TPNGObject> FitPng(const TPNGObject& image, int width, int height) {
    const int w = image.Width(), h = image.Height();
    if (w == width && h == height) {
        auto copy = std::make_unique<TPNGObject>();
        copy->CopyImage(image);
        return copy;
    }
    if (width < 1 || height < 1 || width > gfx::kMaxSourceSide || height > gfx::kMaxSourceSide)
        TPNGObject::RaiseError<EPNGSizeExceeds>(messages::EPNGSizeExceedsText);
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    const gfx::RgbaRows rows = RgbaRowsOf(image);
    if (w >= width && h >= height) {
        gfx::ResampleAreaPart(rows, width, height, tk::TRect{0, 0, width, height}, rgba.data());
    } else if (rows.read) {
        // Too small: at its own size in the middle, cut where it is larger than the picture.
        const int left = (width - w) / 2, top = (height - h) / 2;
        const int x0 = std::max(0, -left), x1 = std::min(w, width - left);
        const int y0 = std::max(0, -top), y1 = std::min(h, height - top);
        for (int y = y0; y < y1 && x0 < x1; ++y)
            rows.read(y, x0, x1, &rgba[(std::size_t(y + top) * width + (x0 + left)) * 4]);
    }
    return RgbaPng(width, height, rgba);
}

TListPictures ReadListPictures(const tk::PngImageListDefinition& definition, int dpi) {
    TListPictures result;
    const bool design = gfx::ClampDpi(dpi) == gfx::kDesignDpi;
    result.width = design ? definition.width : gfx::ScaleForDpi(definition.width, dpi);
    result.height = design ? definition.height : gfx::ScaleForDpi(definition.height, dpi);
    // Set 0 is the design set; a scaled set that does not hold every picture is left out.
    std::vector<gfx::PictureSetSize> sizes{{definition.width, definition.height}};
    for (const tk::PngImageScaledSet& set : definition.scaledSets) {
        const bool whole = set.pngData.size() == definition.pngImages.size();
        sizes.push_back(whole ? gfx::PictureSetSize{set.width, set.height} : gfx::PictureSetSize{});
    }
    const int set = design ? 0 : gfx::ChoosePictureSet(sizes, result.width, result.height).index;
    // Away from 96 DPI, a file that the list holds more than once is decoded and fitted once;
    // the other items get copies.
    std::vector<const unsigned char*> files;
    for (std::size_t i = 0; i < definition.pngImages.size(); ++i) {
        const std::span<const unsigned char> data =
            set <= 0 ? definition.pngImages[i].pngData
                     : definition.scaledSets[static_cast<std::size_t>(set - 1)].pngData[i];
        auto png = std::make_unique<TPNGObject>();
        const auto first = static_cast<std::size_t>(
            std::find(files.begin(), files.end(), data.data()) - files.begin());
        files.push_back(data.data());
        if (!design && first < result.images.size()) {
            png->CopyImage(*result.images[first]);
            result.images.push_back(std::move(png));
            continue;
        }
        TPngMemoryStream stream(data.data(), data.size());
        png->ReadPng(stream);
        if (!design && (png->Width() != result.width || png->Height() != result.height))
            png = FitPng(*png, result.width, result.height);
        result.images.push_back(std::move(png));
    }
    return result;
}

} // namespace sc::png
