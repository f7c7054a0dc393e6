#include "competitors.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <spng.h>
#include <stb/stb_image.h>
#include <stdexcept>
#include <string>
#include <zlib.h>

namespace bench {
namespace {

struct MemoryCursor {
    const uint8_t* data;
    size_t left;
};

void readFromCursor(png_structp png, png_bytep out, size_t count) {
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    if (count > cursor->left)
        png_error(png, "read past the end of the data");
    std::memcpy(out, cursor->data, count);
    cursor->data += count;
    cursor->left -= count;
}

void ignoreWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp, so this frame holds nothing that needs destroying; the
// image and its rows live in the caller's frame. Returns libpng's message, or null on success.
const char* runLibpng(png_structp png, png_infop info, MemoryCursor* cursor, NativeImage* image,
                      std::vector<png_bytep>* rowPointers) {
    static thread_local char message[200];
    if (setjmp(png_jmpbuf(png)))
        return message;
    png_set_error_fn(
        png, message,
        [](png_structp p, png_const_charp text) {
            auto* out = static_cast<char*>(png_get_error_ptr(p));
            std::snprintf(out, 200, "libpng: %s", text);
            png_longjmp(p, 1);
        },
        ignoreWarning);
    png_set_read_fn(png, cursor, readFromCursor);
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image->width = png_get_image_width(png, info);
    image->height = png_get_image_height(png, info);
    image->rowBytes = png_get_rowbytes(png, info);
    image->rows.resize(image->rowBytes * image->height);
    rowPointers->resize(image->height);
    for (uint32_t y = 0; y < image->height; ++y)
        (*rowPointers)[y] = image->rows.data() + size_t{y} * image->rowBytes;
    png_read_image(png, rowPointers->data());
    png_read_end(png, nullptr);
    return nullptr;
}

} // namespace

NativeImage decodeWithLibpng(std::span<const uint8_t> file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        throw std::runtime_error("libpng: no read struct");
    png_infop info = png_create_info_struct(png);
    NativeImage image;
    std::vector<png_bytep> rowPointers;
    MemoryCursor cursor{file.data(), file.size()};
    const char* failure =
        info ? runLibpng(png, info, &cursor, &image, &rowPointers) : "libpng: no info struct";
    const std::string message = failure ? failure : "";
    png_destroy_read_struct(&png, &info, nullptr);
    if (!message.empty())
        throw std::runtime_error(message);
    return image;
}

uint64_t decodeWithSpng(std::span<const uint8_t> file) {
    spng_ctx* ctx = spng_ctx_new(0);
    if (!ctx)
        throw std::runtime_error("spng: no context");
    spng_ihdr ihdr{};
    size_t size = 0;
    std::vector<uint8_t> out;
    int rc = spng_set_png_buffer(ctx, file.data(), file.size());
    if (rc == 0)
        rc = spng_get_ihdr(ctx, &ihdr);
    if (rc == 0)
        rc = spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size);
    if (rc == 0) {
        out.resize(size);
        rc = spng_decode_image(ctx, out.data(), out.size(), SPNG_FMT_PNG, 0);
    }
    spng_ctx_free(ctx);
    if (rc != 0)
        throw std::runtime_error(std::string("spng: ") + spng_strerror(rc));
    return uint64_t{ihdr.width} * ihdr.height;
}

uint64_t decodeWithStb(std::span<const uint8_t> file) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width,
                                            &height, &channels, 0);
    if (!pixels)
        throw std::runtime_error(std::string("stb: ") + stbi_failure_reason());
    stbi_image_free(pixels);
    return uint64_t(width) * uint64_t(height);
}

namespace {

// Inflates into out with feed(z), which hands zlib the image data and returns its last result;
// then checks that the rows came out whole.
template <class Feed>
void inflateInto(const PngFacts& facts, std::vector<uint8_t>& out, Feed feed) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw std::runtime_error("zlib: inflateInit failed");
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(facts.filteredSize);
    const int rc = feed(z);
    const uLong produced = z.total_out;
    const std::string zlibMessage = z.msg ? z.msg : "inflate failed";
    inflateEnd(&z);
    // A full buffer is enough: some files carry bytes behind the rows they need.
    if (rc < 0 && rc != Z_BUF_ERROR)
        throw std::runtime_error(std::string("zlib: ") + zlibMessage);
    if (produced != facts.filteredSize)
        throw std::runtime_error("zlib: image data did not inflate to the expected size");
}

} // namespace

void inflateImageData(const PngFacts& facts, std::vector<uint8_t>& out) {
    inflateInto(facts, out, [&](z_stream& z) {
        z.next_in = const_cast<Bytef*>(facts.imageData.data());
        z.avail_in = static_cast<uInt>(facts.imageData.size());
        return inflate(&z, Z_FINISH);
    });
}

void inflateImageDataByChunk(std::span<const uint8_t> file, const PngFacts& facts,
                             std::vector<uint8_t>& out) {
    inflateInto(facts, out, [&](z_stream& z) {
        int rc = Z_OK;
        for (const auto& [offset, length] : facts.imageChunks) {
            z.next_in = const_cast<Bytef*>(file.data() + offset);
            z.avail_in = static_cast<uInt>(length);
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK || z.avail_out == 0)
                break;
        }
        return rc;
    });
}

} // namespace bench
