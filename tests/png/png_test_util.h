// Building small PNG files in tests: chunks with zlib's CRC, zlib-compressed image data, and
// packing of samples into plain or Adam7 scanlines.
#pragma once

#include "png/png_image.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v >> 24));
    out.push_back(std::uint8_t(v >> 16));
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}

inline Bytes Signature() {
    return {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
}

// One chunk: length, type, data and a CRC from zlib (independent of the codec's own).
inline Bytes Chunk(const std::string& type, const Bytes& data) {
    Bytes out;
    Put32(out, static_cast<std::uint32_t>(data.size()));
    for (std::size_t i = 0; i < 4 + data.size(); ++i)
        out.push_back(i < 4 ? std::uint8_t(type[i]) : data[i - 4]);
    Put32(out,
          static_cast<std::uint32_t>(crc32(0, out.data() + 4, static_cast<uInt>(out.size() - 4))));
    return out;
}

inline Bytes IhdrData(std::uint32_t w, std::uint32_t h, std::uint8_t depth, std::uint8_t type,
                      std::uint8_t interlace = 0, std::uint8_t compression = 0,
                      std::uint8_t filter = 0) {
    Bytes d;
    Put32(d, w);
    Put32(d, h);
    d.insert(d.end(), {depth, type, compression, filter, interlace});
    return d;
}

inline Bytes Compress(const Bytes& raw, int level = 9) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(size);
    return out;
}

inline void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Image data split into IDAT chunks of at most `piece` bytes (0: one chunk).
inline Bytes IdatChunks(const Bytes& compressed, std::size_t piece = 0) {
    Bytes out;
    if (piece == 0 || compressed.empty()) {
        Append(out, Chunk("IDAT", compressed));
        return out;
    }
    for (std::size_t at = 0; at < compressed.size(); at += piece) {
        std::size_t n = std::min(piece, compressed.size() - at);
        Append(out, Chunk("IDAT", Bytes(compressed.begin() + static_cast<std::ptrdiff_t>(at),
                                        compressed.begin() + static_cast<std::ptrdiff_t>(at + n))));
    }
    return out;
}

// Samples per pixel of a colour type.
inline unsigned Channels(std::uint8_t type) {
    return type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
}

// An image as plain sample values: samples[(y * w + x) * channels + c], each < 2^depth.
struct Image {
    std::uint32_t w = 0, h = 0;
    std::uint8_t depth = 8, type = 0;
    std::vector<std::uint16_t> samples;
    std::uint16_t At(std::uint32_t x, std::uint32_t y, unsigned c = 0) const {
        return samples[(std::size_t(y) * w + x) * Channels(type) + c];
    }
};

// Packs pixels xs of row y into one scanline (without filter byte).
inline Bytes PackRow(const Image& img, std::uint32_t y, std::uint32_t x0, std::uint32_t step) {
    const unsigned ch = Channels(img.type);
    Bytes out;
    unsigned acc = 0, bits = 0;
    for (std::uint32_t x = x0; x < img.w; x += step)
        for (unsigned c = 0; c < ch; ++c) {
            unsigned v = img.At(x, y, c);
            if (img.depth == 16) {
                out.push_back(std::uint8_t(v >> 8));
                out.push_back(std::uint8_t(v));
            } else if (img.depth == 8) {
                out.push_back(std::uint8_t(v));
            } else {
                acc = (acc << img.depth) | v;
                bits += img.depth;
                if (bits == 8) {
                    out.push_back(std::uint8_t(acc));
                    acc = bits = 0;
                }
            }
        }
    if (bits)
        out.push_back(std::uint8_t(acc << (8 - bits)));
    return out;
}

// Encoder side of the scanline filters (the codec only reverses them).
inline Bytes FilterRow(int type, const Bytes& row, const Bytes& prev, unsigned stride) {
    Bytes out(row.size() + 1);
    out[0] = std::uint8_t(type);
    for (std::size_t j = 0; j < row.size(); ++j) {
        int a = j >= stride ? row[j - stride] : 0;
        int b = prev.empty() ? 0 : prev[j];
        int c = (j >= stride && !prev.empty()) ? prev[j - stride] : 0;
        int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        const int paeth = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        const int pred = type == 1   ? a
                         : type == 2 ? b
                         : type == 3 ? (a + b) / 2
                         : type == 4 ? paeth
                                     : 0;
        out[j + 1] = std::uint8_t(row[j] - pred);
    }
    return out;
}

// The image data, plain or Adam7. filter -1 cycles through the five filter types row by row.
inline Bytes RawData(const Image& img, bool adam7, int filter = 0) {
    static const unsigned passes[7][4] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                                          {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};
    // Palette images look back one byte, whatever their depth.
    const unsigned stride = img.type == 3 ? 1u : std::max(1u, Channels(img.type) * img.depth / 8);
    Bytes raw;
    int rowNumber = 0;
    auto emit = [&](std::uint32_t x0, std::uint32_t y0, std::uint32_t xs, std::uint32_t ys) {
        Bytes prev;
        for (std::uint32_t y = y0; y < img.h; y += ys) {
            Bytes row = PackRow(img, y, x0, xs);
            const int type = filter == -1 ? rowNumber % 5 : filter;
            ++rowNumber;
            Append(raw, FilterRow(type, row, prev, stride));
            prev = row;
        }
    };
    if (!adam7) {
        emit(0, 0, 1, 1);
        return raw;
    }
    for (const auto& p : passes)
        if (p[2] < img.w)
            emit(p[2], p[0], p[3], p[1]);
    return raw;
}

// A file of the header data `ihdr`, the chunks `body`, and IEND.
inline Bytes Png(const Bytes& ihdr, const Bytes& body = {}) {
    Bytes png = Signature();
    Append(png, Chunk("IHDR", ihdr));
    Append(png, body);
    Append(png, Chunk("IEND", {}));
    return png;
}

// A whole PNG file; extra chunks go between IHDR and IDAT.
inline Bytes BuildPng(const Image& img, bool adam7, const Bytes& beforeIdat = {},
                      std::size_t idatPiece = 0, int filter = 0) {
    Bytes body = beforeIdat;
    Append(body, IdatChunks(Compress(RawData(img, adam7, filter)), idatPiece));
    return Png(IhdrData(img.w, img.h, img.depth, img.type, adam7 ? 1 : 0), body);
}

// Deterministic pseudo-random samples.
inline Image Pattern(std::uint32_t w, std::uint32_t h, std::uint8_t depth, std::uint8_t type,
                     std::uint32_t seed = 1) {
    Image img{w, h, depth, type, {}};
    const std::uint32_t max = depth == 16 ? 0xFFFF : (1u << depth) - 1;
    std::uint32_t s = seed * 2654435761u + 12345;
    img.samples.resize(std::size_t(w) * h * Channels(type));
    for (auto& v : img.samples) {
        s = s * 1103515245u + 12345u;
        v = static_cast<std::uint16_t>((s >> 8) % (max + 1));
    }
    return img;
}

inline void Read(sc::png::TPNGObject& image, const Bytes& png) {
    sc::png::TPngMemoryStream stream(png.data(), png.size());
    image.ReadPng(stream);
}

// A 65535 x 65535 grey image with alpha whose data holds only its first four rows, opaque
// black: reading it ends early, with those rows in place.
inline void ReadHugeImageOfFourBlackRows(sc::png::TPNGObject& image) {
    const std::uint32_t side = 65535;
    Bytes rows;
    for (int y = 0; y < 4; ++y) {
        rows.push_back(0);
        for (std::uint32_t x = 0; x < side; ++x)
            rows.insert(rows.end(), {0, 255});
    }
    const Bytes file = Png(IhdrData(side, side, 8, 4), IdatChunks(Compress(rows)));
    try {
        Read(image, file);
    } catch (const std::exception&) { // the data ends early
    }
}

inline std::string ChunkTypes(const sc::png::TPNGObject& image) {
    std::string s;
    for (std::int32_t i = 0; i < image.ChunkList.Count(); ++i) {
        if (!s.empty())
            s += ' ';
        const auto& code = image.ChunkList.Item(i)->TypeCode(); // up to its first zero byte
        s.append(code.data(), strnlen(code.data(), 4));
    }
    return s;
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The DIB pixel of an indexed (1, 4 or 8 bits per pixel) row.
inline unsigned IndexAt(const std::uint8_t* row, unsigned bits, std::uint32_t x) {
    if (bits == 1)
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    if (bits == 4)
        return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    return row[x];
}

} // namespace pngtest
