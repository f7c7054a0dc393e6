// pngdump <file.png>: reads the file with the codec and prints its chunk list, the header, the
// transparency and every pixel as the bitmap holds it.
// pngdump --draw [--background RRGGBB] [--canvas W,H] [--rect L,T,R,B]
//                [--disabled blend|grey|both] <file.png>: prints the same three lines, then the
// image as DrawPngImage draws it onto a 32-bit canvas filled with the background.
// Exit 0 on success, 1 when the read fails, 2 on a usage or file-open problem or when this build
// cannot draw.
#include "png/png_functions.h"
#include "png/png_image.h"

#ifdef _WIN32
#include "png/png_functions_win32.h"
#include "png/png_gdi_win32.h"
#include "text/utf.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

using namespace sc::png;

namespace {

void PrintChunks(const TPNGObject& image) {
    std::string line = "chunks";
    for (std::int32_t i = 0; i < image.ChunkList.Count(); ++i)
        if (const TChunk* chunk = image.ChunkList.Item(i)) {
            line += ' ';
            line.append(chunk->TypeCode().data(), 4);
        }
    std::printf("%s\n", line.c_str());
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

const char* KindName(TTransparencyKind kind) {
    switch (kind) {
    case tkKeyColor:
        return "keycolor";
    case tkPerPixel:
        return "perpixel";
    default:
        return "none";
    }
}

void PrintPixels(const TPNGObject& image) {
    const TChunkIHDR& h = image.HeaderChunk();
    const unsigned bits = h.DibInfo().bmiHeader.biBitCount;
    const TRgbQuad* table = h.DibInfo().bmiColors;
    std::string line;
    char hex[16];
    for (std::uint32_t y = 0; y < h.Height(); ++y) {
        const std::uint8_t* row = image.PixelRow(y);
        const std::uint8_t* alpha = image.AlphaRow(y);
        line = "row " + std::to_string(y) + ":";
        for (std::uint32_t x = 0; x < h.Width(); ++x) {
            unsigned r, g, b;
            if (bits == 24) {
                b = row[3 * x];
                g = row[3 * x + 1];
                r = row[3 * x + 2];
            } else {
                unsigned index;
                if (bits == 1)
                    index = (row[x >> 3] >> (7 - (x & 7))) & 1;
                else if (bits == 4)
                    index = (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
                else
                    index = row[x];
                r = table[index].rgbRed;
                g = table[index].rgbGreen;
                b = table[index].rgbBlue;
            }
            if (alpha)
                std::snprintf(hex, sizeof hex, " %02x%02x%02x%02x", r, g, b, alpha[x]);
            else
                std::snprintf(hex, sizeof hex, " %02x%02x%02x", r, g, b);
            line += hex;
        }
        std::printf("%s\n", line.c_str());
    }
}

struct DrawRequest {
    bool draw = false;
    unsigned background = 0xFFFFFF;
    bool hasCanvas = false, hasRect = false;
    long canvas[2] = {0, 0};
    long rect[4] = {0, 0, 0, 0};
    TPngOptions options = 0;
    const char* file = nullptr;
};

// Parses "a,b,..." into exactly count integers.
bool ParseList(const char* text, long* out, int count) {
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        out[i] = std::strtol(text, &end, 10);
        if (end == text || out[i] < -1000000 || out[i] > 1000000)
            return false;
        if (i + 1 < count && *end != ',')
            return false;
        text = end + 1;
        if (i + 1 == count && *end != 0)
            return false;
    }
    return true;
}

bool ParseArguments(int argc, char** argv, DrawRequest& r) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--draw") {
            r.draw = true;
        } else if (a == "--background" && hasValue) {
            const char* v = argv[++i];
            char* end = nullptr;
            r.background = static_cast<unsigned>(std::strtoul(v, &end, 16));
            if (std::strlen(v) != 6 || *end != 0)
                return false;
        } else if (a == "--canvas" && hasValue) {
            r.hasCanvas = true;
            if (!ParseList(argv[++i], r.canvas, 2) || r.canvas[0] < 1 || r.canvas[1] < 1 ||
                r.canvas[0] > 8192 || r.canvas[1] > 8192)
                return false;
        } else if (a == "--rect" && hasValue) {
            r.hasRect = true;
            if (!ParseList(argv[++i], r.rect, 4))
                return false;
        } else if (a == "--disabled" && hasValue) {
            const std::string v = argv[++i];
            if (v == "blend")
                r.options = pngBlendOnDisabled;
            else if (v == "grey")
                r.options = pngGrayscaleOnDisabled;
            else if (v == "both")
                r.options = pngBlendOnDisabled | pngGrayscaleOnDisabled;
            else
                return false;
        } else if (a.rfind("--", 0) == 0 || r.file) {
            return false;
        } else {
            r.file = argv[i];
        }
    }
    // The drawing options belong to --draw.
    return r.file &&
           (r.draw || (!r.hasCanvas && !r.hasRect && r.options == 0 && r.background == 0xFFFFFF));
}

#ifdef _WIN32
// Draws the image onto a canvas filled with the background and prints its pixels.
int PrintDrawing(TPNGObject& image, const DrawRequest& r) {
    const int w = r.hasCanvas ? static_cast<int>(r.canvas[0]) : image.Width();
    const int h = r.hasCanvas ? static_cast<int>(r.canvas[1]) : image.Height();
    if (w < 1 || h < 1 || std::uint64_t(w) * std::uint64_t(h) > (std::uint64_t(1) << 26)) {
        std::fprintf(stderr, "pngdump: canvas %d x %d is too large to print\n", w, h);
        return 2;
    }
    const tk::TRect rect = r.hasRect
                               ? tk::TRect{static_cast<int>(r.rect[0]), static_cast<int>(r.rect[1]),
                                           static_cast<int>(r.rect[2]), static_cast<int>(r.rect[3])}
                               : tk::TRect{0, 0, image.Width(), image.Height()};
    void* bits = nullptr;
    TMemoryBitmap canvasBitmap(nullptr, CreateTopDownSection(w, h, &bits));
    if (!canvasBitmap.Ok()) {
        std::fprintf(stderr, "pngdump: cannot make a canvas of %d x %d\n", w, h);
        return 2;
    }
    std::vector<std::uint32_t> pixels;
    {
        HDC dc = canvasBitmap.Handle();
        RECT all{0, 0, w, h};
        const unsigned bg = r.background;
        tk::UniqueBrush brush(CreateSolidBrush(RGB(bg >> 16, (bg >> 8) & 0xFF, bg & 0xFF)));
        FillRect(dc, &all, brush.get());
        tk::FontCache fonts;
        tk::TCanvas canvas(fonts);
        canvas.setHandle(dc);
        try {
            DrawPngImage(image, canvas, rect, r.options);
        } catch (const std::exception& error) {
            std::printf("error %s: %s\n", PngExceptionClassName(error),
                        OneLine(error.what()).c_str());
            return 1;
        }
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels.assign(p, p + std::size_t(w) * std::size_t(h));
    }
    std::printf("canvas %d %d\n", w, h);
    std::string line;
    char hex[16];
    for (int y = 0; y < h; ++y) {
        line = "row " + std::to_string(y) + ":";
        for (int x = 0; x < w; ++x) {
            std::snprintf(hex, sizeof hex, " %06x",
                          pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] & 0xFFFFFFu);
            line += hex;
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}
#endif

// The arguments in UTF-8, the file name too.
int Run(int argc, char** argv) {
    DrawRequest request;
    if (!ParseArguments(argc, argv, request)) {
        std::fprintf(stderr, "usage: pngdump <file.png>\n"
                             "       pngdump --draw [--background RRGGBB] [--canvas W,H] "
                             "[--rect L,T,R,B] [--disabled blend|grey|both] <file.png>\n");
        return 2;
    }
#ifndef _WIN32
    if (request.draw) {
        std::fprintf(stderr, "pngdump: this build cannot draw\n");
        return 2;
    }
#endif
    TPngFileStream stream(request.file);
    if (!stream.IsOpen()) {
        std::fprintf(stderr, "pngdump: cannot open %s\n", request.file);
        return 2;
    }
    TPNGObject image;
    try {
        image.ReadPng(stream);
    } catch (const std::exception& error) {
        PrintChunks(image);
        std::printf("error %s: %s\n", PngExceptionClassName(error), OneLine(error.what()).c_str());
        return 1;
    }
    PrintChunks(image);
    const TChunkIHDR& h = image.HeaderChunk();
    std::printf("IHDR %u %u %u %u %u\n", h.Width(), h.Height(), h.BitDepth(), h.ColorType(),
                h.InterlaceMethod());
    std::printf("transparency %s %06x\n", KindName(image.TransparencyKind()), image.KeyColor());
#ifdef _WIN32
    if (request.draw)
        return PrintDrawing(image, request);
#endif
    PrintPixels(image);
    return 0;
}

} // namespace

#ifdef _WIN32
// The arguments as the system holds them, in UTF-16, so that any file name arrives whole.
int wmain(int argc, wchar_t** argv) {
    return sc::text::runWithUtf8Arguments(argc, argv, Run);
}
#else
int main(int argc, char** argv) {
    return Run(argc, argv);
}
#endif
