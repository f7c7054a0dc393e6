// pngdump <file.png>: reads the file with the codec and prints its chunk list, the header, the
// transparency and every pixel as the bitmap holds it. Exit 0 on success, 1 when the read
// fails, 2 on a usage or file-open problem.
#include "png/png_image.h"

#include <cstdio>
#include <exception>
#include <string>

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pngdump <file.png>\n");
        return 2;
    }
    TPngFileStream stream(argv[1]);
    if (!stream.IsOpen()) {
        std::fprintf(stderr, "pngdump: cannot open %s\n", argv[1]);
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
    PrintPixels(image);
    return 0;
}
