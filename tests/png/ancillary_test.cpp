// Palette, transparency, gamma, time and text chunks, and the image's transparency operations.
#include "png/png_blend.h"
#include "png/png_functions.h"
#include "png/png_gamma.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;

namespace {

Bytes Be32(std::uint32_t v) {
    Bytes b;
    Put32(b, v);
    return b;
}

Bytes Palette(unsigned entries) {
    Bytes p(3 * std::size_t(entries));
    for (unsigned i = 0; i < entries; ++i) {
        p[3 * i] = std::uint8_t(i);
        p[3 * i + 1] = std::uint8_t(i * 2);
        p[3 * i + 2] = std::uint8_t(255 - i);
    }
    return p;
}

// A 4 x 2 palette image (8 bits) with the given chunks between IHDR and IDAT.
Bytes PaletteImage(const Bytes& chunks) {
    Image img{4, 2, 8, 3, {0, 1, 2, 3, 3, 2, 1, 0}};
    return BuildPng(img, false, chunks);
}

} // namespace

TEST(PngPalette, SizesEntriesAndGamma) {
    TPNGObject image;
    Read(image, PaletteImage(Chunk("PLTE", Palette(256))));
    auto* plte = image.ChunkList.FindChunk<TChunkPLTE>();
    ASSERT_NE(plte, nullptr);
    EXPECT_EQ(plte->EntryCount(), 256);
    EXPECT_EQ(plte->PaletteEntry(3), 0x0306FCu); // 0x00RRGGBB
    const TRgbQuad& q = image.HeaderChunk().DibInfo().bmiColors[3];
    EXPECT_EQ(q.rgbRed, 3);
    EXPECT_EQ(q.rgbGreen, 6);
    EXPECT_EQ(q.rgbBlue, 252);
    for (unsigned bad : {771u, 10u}) {
        Bytes data(bad, 1);
        std::string types;
        try {
            Read(image, PaletteImage(Chunk("PLTE", data)));
            ADD_FAILURE() << bad;
        } catch (const EPNGInvalidPalette& e) {
            EXPECT_STREQ(e.what(), messages::EPNGInvalidPaletteText);
            EXPECT_EQ(ChunkTypes(image), "IHDR PLTE");
        }
    }
    Read(image, PaletteImage(Chunk("PLTE", {})));
    EXPECT_EQ(image.ChunkList.FindChunk<TChunkPLTE>()->EntryCount(), 0);

    Read(image, PaletteImage(Chunk("PLTE", Palette(4))));
    plte = image.ChunkList.FindChunk<TChunkPLTE>();
    EXPECT_THROW(plte->PaletteEntry(4), EPngError);
    EXPECT_THROW(plte->PaletteEntry(-1), EPngError);
    TChunkIEND other(image);
    try {
        plte->CopyFrom(other);
        ADD_FAILURE();
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), messages::EPNGCannotAssignChunkText);
    }

    // gAMA before PLTE passes the entries through the curve; behind it, it does not.
    Bytes gamma = Chunk("gAMA", Be32(100000));
    Bytes before = gamma;
    Append(before, Chunk("PLTE", {128, 0, 255}));
    Read(image, PaletteImage(before));
    EXPECT_EQ(image.HeaderChunk().DibInfo().bmiColors[0].rgbRed, 186);
    EXPECT_EQ(image.HeaderChunk().DibInfo().bmiColors[0].rgbBlue, 255);
    Bytes after = Chunk("PLTE", {128, 0, 255});
    Append(after, gamma);
    Read(image, PaletteImage(after));
    EXPECT_EQ(image.HeaderChunk().DibInfo().bmiColors[0].rgbRed, 128);
}

TEST(PngGamma, CurveFromTheChunk) {
    TPNGObject image;
    Read(image, PaletteImage(Chunk("gAMA", Be32(100000))));
    EXPECT_EQ(image.GammaCurve[128], 186);
    EXPECT_EQ(image.GammaCurve[0], 0);
    EXPECT_EQ(image.GammaCurve[255], 255);
    EXPECT_EQ(image.ChunkList.FindChunk<TChunkgAMA>()->GammaValue(), 100000u);
    TPNGObject copy;
    copy.CopyImage(image);
    EXPECT_EQ(copy.ChunkList.FindChunk<TChunkgAMA>()->GammaValue(), 100000u);
    Read(image, PaletteImage(Chunk("gAMA", Be32(0))));
    for (unsigned i = 0; i < 256; ++i)
        EXPECT_EQ(image.GammaCurve[i], i);
    Read(image, PaletteImage(Chunk("gAMA", Be32(45455))));
    for (unsigned i = 0; i < 256; ++i)
        EXPECT_NEAR(image.GammaCurve[i], i, 1);
    // A new read starts again from the identity.
    Read(image, PaletteImage(Chunk("gAMA", Be32(100000))));
    Read(image, PaletteImage({}));
    EXPECT_EQ(image.GammaCurve[128], 128);

    TChunkgAMA fresh(image);
    EXPECT_EQ(fresh.GammaValue(), 1u);
    fresh.ResizePayload(7);
    EXPECT_EQ(fresh.GammaValue(), 1u);
    EXPECT_EQ(fresh.PayloadSize(), 4u);
    TChunkIEND other(image);
    EXPECT_THROW(fresh.CopyFrom(other), EPngError);
}

// The double-precision curve must give every level the extended computation gives, also for the
// values whose curves pass close to a rounding boundary; the kept curves must match too.
TEST(PngGamma, FastCurveEqualsTheExtendedOne) {
    std::vector<std::uint32_t> values = {1,     2,     35000,  45000,  45455,
                                         55000, 70000, 100000, 250000, 4294967295u};
    for (std::uint32_t v = 3; v < 3000000; v += 1499)
        values.push_back(v);
    for (std::uint32_t v : values) {
        const auto expected = GammaCurveExtended(v);
        ASSERT_EQ(GammaCurveFor(v), expected) << v;
        ASSERT_EQ(GammaCurveFor(v), expected) << v; // from the kept curves
    }
}

TEST(PngGamma, TruecolourPixelsAndGreyRampBeforeImageDataOnly) {
    Image rgb{1, 1, 8, 2, {128, 0, 255}};
    TPNGObject image;
    Read(image, BuildPng(rgb, false, Chunk("gAMA", Be32(100000))));
    EXPECT_EQ(image.PixelRow(0)[2], 186);
    EXPECT_EQ(image.PixelRow(0)[0], 255);
    Image grey{2, 1, 8, 0, {128, 64}};
    Read(image, BuildPng(grey, false, Chunk("gAMA", Be32(100000))));
    EXPECT_EQ(image.PixelRow(0)[0], 128); // the index is not changed, the ramp is
    EXPECT_EQ(image.HeaderChunk().DibInfo().bmiColors[128].rgbGreen, 186);
    // gAMA behind the image data changes nothing decoded.
    Bytes png = BuildPng(rgb, false);
    Bytes tail(png.end() - 12, png.end());
    png.resize(png.size() - 12);
    Append(png, Chunk("gAMA", Be32(100000)));
    Append(png, tail);
    Read(image, png);
    EXPECT_EQ(image.PixelRow(0)[2], 128);
    EXPECT_EQ(image.GammaCurve[128], 186);
}

TEST(PngTransparency, PaletteKinds) {
    Bytes plte = Chunk("PLTE", Palette(4));
    auto with = [&](const Bytes& trns) {
        Bytes chunks = plte;
        Append(chunks, Chunk("tRNS", trns));
        return PaletteImage(chunks);
    };
    TPNGObject image;
    Read(image, PaletteImage(plte));
    EXPECT_EQ(image.TransparencyKind(), tkNone);
    EXPECT_EQ(image.KeyColor(), 0u);
    Read(image, with({255, 0, 255}));
    EXPECT_EQ(image.TransparencyKind(), tkKeyColor);
    EXPECT_EQ(image.KeyColor(), 0xFE0201u); // entry 1 as 0x00BBGGRR
    TPNGObject copy; // palette, entry count and transparency travel with a copy
    copy.CopyImage(image);
    EXPECT_EQ(copy.TransparencyKind(), tkKeyColor);
    EXPECT_EQ(copy.KeyColor(), 0xFE0201u);
    EXPECT_EQ(copy.ChunkList.FindChunk<TChunkPLTE>()->EntryCount(), 4);
    EXPECT_EQ(copy.ChunkList.FindChunk<TChunktRNS>()->PayloadSize(), 3u);
    Read(image, with({0, 128}));
    EXPECT_EQ(image.TransparencyKind(), tkPerPixel);
    Read(image, with({255, 128}));
    EXPECT_EQ(image.TransparencyKind(), tkKeyColor);
    EXPECT_EQ(image.KeyColor(), 0u);
    auto* trns = image.ChunkList.FindChunk<TChunktRNS>();
    EXPECT_EQ(trns->AlphaValues[1], 128);
    EXPECT_EQ(trns->AlphaValues[2], 255);
    EXPECT_EQ(trns->AlphaValues[255], 255);
    // Without PLTE there is no key colour; a tRNS above 256 bytes is invalid.
    Read(image, PaletteImage(Chunk("tRNS", {0})));
    EXPECT_EQ(image.KeyColor(), 0u);
    EXPECT_THROW(Read(image, with(Bytes(257, 0))), EPNGInvalidPalette);
}

TEST(PngTransparency, GreyAndTruecolourKeys) {
    TPNGObject image;
    Read(image, BuildPng(Pattern(2, 2, 8, 0), false, Chunk("tRNS", {0x00, 0xC8})));
    EXPECT_EQ(image.TransparencyKind(), tkKeyColor);
    EXPECT_EQ(image.KeyColor(), 0x00C8C8C8u);
    Read(image,
         BuildPng(Pattern(2, 2, 8, 2), false, Chunk("tRNS", {0x00, 0x10, 0x00, 0x20, 0x00, 0x30})));
    EXPECT_EQ(image.KeyColor(), 0x00302010u);
    EXPECT_TRUE(image.ChunkList.FindChunk<TChunktRNS>()->SingleKey);
    // Short samples read no byte outside the chunk: the missing bytes count as 255.
    Read(image, BuildPng(Pattern(2, 2, 8, 2), false, Chunk("tRNS", {0x00, 0x10})));
    EXPECT_EQ(image.KeyColor(), 0x00FFFF10u);
    Read(image, BuildPng(Pattern(2, 2, 8, 0), false, Chunk("tRNS", {})));
    EXPECT_EQ(image.KeyColor(), 0x00FFFFFFu);
    Read(image, BuildPng(Pattern(2, 2, 8, 0), false));
    EXPECT_EQ(image.TransparencyKind(), tkNone);
    Read(image, BuildPng(Pattern(2, 2, 8, 4), false));
    EXPECT_EQ(image.TransparencyKind(), tkPerPixel);
    Read(image, BuildPng(Pattern(2, 2, 16, 6), false, Chunk("tRNS", {1, 2})));
    EXPECT_EQ(image.TransparencyKind(), tkPerPixel);
    EXPECT_EQ(image.KeyColor(), 0u);
}

TEST(PngTransparency, AddAlphaPlane) {
    TPNGObject image;
    Image rgb = Pattern(3, 2, 8, 2);
    Read(image, BuildPng(rgb, false));
    const std::uint8_t before = image.PixelRow(1)[4];
    image.AddAlphaPlane();
    EXPECT_EQ(image.HeaderChunk().ColorType(), 6);
    EXPECT_EQ(image.TransparencyKind(), tkPerPixel);
    EXPECT_EQ(image.PixelRow(1)[4], before);
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 3; ++x)
            EXPECT_EQ(image.AlphaRow(y)[x], 255);

    // Greys of 1, 2 and 4 bits (with a gamma) become 8-bit grey with alpha showing the same
    // colours; reading and drawing stay inside the rows, the top one last in the pixel memory.
    for (std::uint8_t depth : {1, 2, 4}) {
        const int w = 37, h = 2;
        Read(image, BuildPng(Pattern(w, h, depth, 0, depth), false, Chunk("gAMA", Be32(70000))));
        std::vector<std::uint32_t> before, after, drawn;
        for (int i = 0; i < w * h; ++i)
            before.push_back(PixelColor(image, i % w, i / w));
        image.AddAlphaPlane();
        EXPECT_EQ(image.HeaderChunk().ColorType(), 4);
        std::vector<std::uint8_t> canvas(std::size_t(w) * h * 4, 0);
        BlendImagePart(image, tk::TRect{0, 0, w, h}, canvas.data());
        for (int i = 0; i < w * h; ++i) {
            after.push_back(PixelColor(image, i % w, i / w));
            drawn.push_back(canvas[4 * i + 2] | canvas[4 * i + 1] << 8 | canvas[4 * i] << 16u);
        }
        EXPECT_EQ(after, before) << int(depth);
        EXPECT_EQ(drawn, before) << int(depth);
        EXPECT_EQ(image.AlphaRow(1)[w - 1], 255);
    }

    Read(image, PaletteImage(Chunk("PLTE", Palette(4))));
    image.AddAlphaPlane();
    EXPECT_EQ(ChunkTypes(image), "IHDR PLTE tRNS IDAT IEND");
    auto* trns = image.ChunkList.FindChunk<TChunktRNS>();
    EXPECT_FALSE(trns->SingleKey);
    for (unsigned i = 0; i < 256; ++i)
        EXPECT_EQ(trns->AlphaValues[i], 255);
    EXPECT_EQ(image.TransparencyKind(), tkPerPixel);
    // An existing tRNS is reused.
    image.AddAlphaPlane();
    EXPECT_EQ(ChunkTypes(image), "IHDR PLTE tRNS IDAT IEND");
}

TEST(PngAddChunk, PlacesAndRefusals) {
    TPNGObject image;
    Read(image, PaletteImage(Chunk("PLTE", Palette(2))));
    for (const TChunkClass* c :
         {&TChunkIHDR::Class, &TChunkIDAT::Class, &TChunkPLTE::Class, &TChunkIEND::Class}) {
        try {
            image.ChunkList.AddChunk(*c);
            ADD_FAILURE() << c->ClassName;
        } catch (const EPngError& e) {
            EXPECT_STREQ(e.what(), messages::EPNGCannotAddChunkText);
        }
    }
    image.ChunkList.AddChunk<TChunkgAMA>();
    EXPECT_EQ(ChunkTypes(image), "IHDR gAMA PLTE IDAT IEND");
    EXPECT_THROW(image.ChunkList.AddChunk<TChunkgAMA>(), EPngError);
    image.ChunkList.AddChunk<TChunktEXt>();
    image.ChunkList.AddChunk<TChunktIME>();
    EXPECT_EQ(ChunkTypes(image), "IHDR gAMA PLTE IDAT tEXt tIME IEND");

    // tRNS without PLTE goes to the place of the first IDAT chunk.
    Read(image, BuildPng(Pattern(2, 2, 8, 2), false, Chunk("prIv", {})));
    image.ChunkList.AddChunk<TChunktRNS>();
    EXPECT_EQ(ChunkTypes(image), "IHDR prIv tRNS IDAT IEND");

    // An image without IEND is not complete enough.
    Image img = Pattern(2, 2, 8, 0);
    Bytes png = BuildPng(img, false);
    png.resize(png.size() - 12);
    EXPECT_THROW(Read(image, png), EPngUnexpectedEnd);
    try {
        image.ChunkList.AddChunk<TChunktEXt>();
        ADD_FAILURE();
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), messages::EPNGCannotAddInvalidImageText);
    }
}

TEST(PngText, TimeTextAndCompressedText) {
    Bytes chunks = Chunk("tIME", {0x07, 0xE6, 12, 31, 23, 59, 58});
    Append(chunks, Chunk("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'a', 'b', 0, 'c'}));
    std::string text = "compressed words, compressed words";
    Bytes z = {'C', 'o', 'm', 0, 0};
    Append(z, Compress(Bytes(text.begin(), text.end())));
    Append(chunks, Chunk("zTXt", z));
    Append(chunks, Chunk("tIME", Bytes(8, 1)));
    TPNGObject image;
    Read(image, PaletteImage(chunks));
    auto* time = image.ChunkList.FindChunk<TChunktIME>();
    EXPECT_EQ(time->Year, 2022);
    EXPECT_EQ(time->Month, 12);
    EXPECT_EQ(time->Second, 58);
    auto* second = static_cast<TChunktIME*>(image.ChunkList.Item(4));
    EXPECT_EQ(&second->ChunkClass(), &TChunktIME::Class);
    EXPECT_EQ(second->Year, 0);
    auto* t = image.ChunkList.FindChunk<TChunktEXt>();
    EXPECT_EQ(t->Keyword, "Title");
    EXPECT_EQ(t->Text, std::string("ab\0c", 4));
    auto* zt = static_cast<TChunkzTXt*>(image.ChunkList.Item(3));
    EXPECT_EQ(zt->Keyword, "Com");
    EXPECT_EQ(zt->Text, text);

    // Short, uncompressable or foreign-method texts stay empty and raise nothing.
    Bytes odd = Chunk("tEXt", {'a', 0});
    Append(odd, Chunk("zTXt", {'k', 0, 'x'}));              // 3 bytes: read as tEXt
    Append(odd, Chunk("zTXt", {'k', 0, 1, 0x78, 0x9C}));    // method 1
    Append(odd, Chunk("zTXt", {'k', 0, 0, 0x11, 0x22, 3})); // not a zlib stream
    Append(odd, Chunk("zTXt", {'k', 'e', 'y', 'w'}));       // no zero byte
    Read(image, PaletteImage(odd));
    EXPECT_EQ(static_cast<TChunktEXt*>(image.ChunkList.Item(1))->Keyword, "");
    EXPECT_EQ(static_cast<TChunktEXt*>(image.ChunkList.Item(2))->Text, "x");
    for (int i = 3; i <= 5; ++i)
        EXPECT_EQ(static_cast<TChunktEXt*>(image.ChunkList.Item(i))->Text, "") << i;
    EXPECT_EQ(static_cast<TChunktEXt*>(image.ChunkList.Item(5))->Keyword, "keyw");
}
