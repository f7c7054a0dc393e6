// Every valid suite file against an independent decode by libpng. The expected bitmap follows
// the codec's rules: gAMA before the image data maps colour samples, the grey ramp and the
// palette; 16-bit samples keep their high byte; palette images keep their indices.
#include "png/png_image.h"
#include "png_suite_files.h"
#include "png_test_util.h"

#include <png.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csetjmp>

using namespace sc::png;
using namespace pngtest;

namespace {

struct Reference {
    std::uint32_t w = 0, h = 0;
    int depth = 0, type = 0, channels = 0;
    std::vector<std::uint8_t> pixels; // rows of w x channels bytes, 8 bits per sample
    std::vector<png_color> palette;
    std::vector<std::uint8_t> trnsAlpha;
    png_color_16 trnsColor{};
    bool hasTrns = false;
    std::string error;
};

struct MemoryReader {
    const Bytes* data;
    std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (r->at + n > r->data->size())
        png_error(png, "read past end");
    std::memcpy(out, r->data->data() + r->at, n);
    r->at += n;
}

Reference DecodeWithLibpng(const Bytes& file) {
    Reference ref;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&file, 0};
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        ref.error = "libpng failed";
        png_destroy_read_struct(&png, &info, nullptr);
        return ref;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_set_crc_action(png, PNG_CRC_DEFAULT, PNG_CRC_DEFAULT);
    png_read_info(png, info);
    ref.w = png_get_image_width(png, info);
    ref.h = png_get_image_height(png, info);
    ref.depth = png_get_bit_depth(png, info);
    ref.type = png_get_color_type(png, info);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count))
        ref.palette.assign(palette, palette + count);
    png_bytep alpha = nullptr;
    png_color_16p color = nullptr;
    if (png_get_tRNS(png, info, &alpha, &count, &color)) {
        ref.hasTrns = true;
        if (alpha && ref.type == 3)
            ref.trnsAlpha.assign(alpha, alpha + count);
        if (color)
            ref.trnsColor = *color;
    }
    if (ref.depth == 16)
        png_set_strip_16(png); // the high byte
    if (ref.depth < 8)
        png_set_packing(png); // one unscaled sample per byte
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    ref.channels = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    ref.pixels.resize(rowBytes * ref.h);
    for (std::uint32_t y = 0; y < ref.h; ++y)
        rows.push_back(ref.pixels.data() + y * rowBytes);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return ref;
}

// The gamma value of a gAMA chunk standing before the first IDAT chunk, or 0.
std::uint32_t GammaBeforeImageData(const Bytes& file) {
    std::size_t at = 8;
    while (at + 8 <= file.size()) {
        std::uint32_t length =
            std::uint32_t(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        std::string type(file.begin() + std::ptrdiff_t(at) + 4,
                         file.begin() + std::ptrdiff_t(at) + 8);
        if (type == "IDAT")
            return 0;
        if (type == "gAMA" && length == 4 && at + 12 <= file.size())
            return std::uint32_t(file[at + 8]) << 24 | file[at + 9] << 16 | file[at + 10] << 8 |
                   file[at + 11];
        at += 12 + std::size_t(length);
    }
    return 0;
}

// The curve as defined for the gAMA chunk: round(255 (i/255)^(1/(g/100000 x 2.2))).
std::array<std::uint8_t, 256> Curve(std::uint32_t value) {
    std::array<std::uint8_t, 256> c{};
    for (int i = 0; i < 256; ++i)
        c[std::size_t(i)] = std::uint8_t(i);
    if (value == 0)
        return c;
    const long double e = 1.0L / (value / 100000.0L * 2.2L);
    for (int i = 1; i < 256; ++i)
        c[std::size_t(i)] = std::uint8_t(std::llrint(std::pow(i / 255.0L, e) * 255.0L));
    return c;
}

void Compare(const std::string& path) {
    SCOPED_TRACE(path);
    const Bytes file = ReadFile(path);
    const Reference ref = DecodeWithLibpng(file);
    ASSERT_EQ(ref.error, "");
    TPNGObject image;
    Read(image, file);
    const TChunkIHDR& h = image.HeaderChunk();
    ASSERT_EQ(h.Width(), ref.w);
    ASSERT_EQ(h.Height(), ref.h);
    const auto g = Curve(GammaBeforeImageData(file));
    const unsigned bits = h.DibInfo().bmiHeader.biBitCount;
    const TRgbQuad* table = h.DibInfo().bmiColors;
    const unsigned maxSample = ref.depth >= 8 ? 255 : (1u << ref.depth) - 1;
    int failures = 0;
    for (std::uint32_t y = 0; y < ref.h && failures < 3; ++y) {
        const std::uint8_t* want = ref.pixels.data() + std::size_t(y) * ref.w * ref.channels;
        const std::uint8_t* row = image.PixelRow(y);
        const std::uint8_t* alpha = image.AlphaRow(y);
        for (std::uint32_t x = 0; x < ref.w && failures < 3; ++x) {
            const std::uint8_t* s = want + std::size_t(x) * ref.channels;
            unsigned r, gr, b, er, eg, eb;
            if (bits == 24) {
                b = row[3 * x], gr = row[3 * x + 1], r = row[3 * x + 2];
            } else {
                const unsigned index = IndexAt(row, bits, x);
                if (ref.type == 3) {
                    EXPECT_EQ(index, s[0]) << "index at " << x << "," << y;
                }
                r = table[index].rgbRed, gr = table[index].rgbGreen, b = table[index].rgbBlue;
            }
            switch (ref.type) {
            case 0:
            case 4: {
                const unsigned level = (s[0] * 255 + maxSample / 2) / maxSample;
                er = eg = eb = g[level];
                break;
            }
            case 3: {
                const png_color& c = s[0] < ref.palette.size() ? ref.palette[s[0]] : png_color{};
                er = g[c.red], eg = g[c.green], eb = g[c.blue];
                break;
            }
            default:
                er = g[s[0]], eg = g[s[1]], eb = g[s[2]];
                break;
            }
            bool ok = r == er && gr == eg && b == eb;
            if (ref.type == 4 || ref.type == 6)
                ok = ok && alpha && alpha[x] == s[ref.channels - 1];
            if (!ok) {
                ++failures;
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << r << " " << gr << " " << b
                              << " want " << er << " " << eg << " " << eb;
            }
        }
    }
    // Transparency as the tRNS chunk defines it.
    if (!ref.hasTrns) {
        EXPECT_EQ(image.TransparencyKind(), (ref.type == 4 || ref.type == 6) ? tkPerPixel : tkNone);
        return;
    }
    if (ref.type == 0) {
        const unsigned k = ref.trnsColor.gray & 0xFF;
        EXPECT_EQ(image.KeyColor(), k | k << 8 | k << 16);
        EXPECT_EQ(image.TransparencyKind(), tkKeyColor);
    } else if (ref.type == 2) {
        EXPECT_EQ(image.KeyColor(), unsigned(ref.trnsColor.red & 0xFF) |
                                        unsigned(ref.trnsColor.green & 0xFF) << 8 |
                                        unsigned(ref.trnsColor.blue & 0xFF) << 16);
    } else if (ref.type == 3) {
        unsigned key = 0, translucent = 0;
        bool found = false;
        for (std::size_t i = 0; i < ref.trnsAlpha.size(); ++i) {
            translucent += ref.trnsAlpha[i] != 255;
            if (!found && ref.trnsAlpha[i] == 0 && i < ref.palette.size()) {
                found = true;
                const png_color& c = ref.palette[i];
                key = g[c.red] | g[c.green] << 8 | g[c.blue] << 16;
            }
        }
        EXPECT_EQ(image.KeyColor(), key);
        EXPECT_EQ(image.TransparencyKind(), translucent == 1 ? tkKeyColor : tkPerPixel);
    }
}

} // namespace

TEST(PngOracle, EveryValidSuiteFileMatchesLibpng) {
    const auto files = ValidSuiteFiles();
    ASSERT_GE(files.size(), 161u + 106u);
    for (const std::string& path : files)
        Compare(path);
}
