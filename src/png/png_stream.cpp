#include "png/png_stream.h"

#ifdef _WIN32
#include "text/utf.h"
#endif

#include <cstring>

namespace sc::png {

std::size_t TPngMemoryStream::Read(void* buffer, std::size_t count) {
    std::size_t left = Size - Offset;
    if (count > left)
        count = left;
    if (count) {
        std::memcpy(buffer, Data + Offset, count);
        Offset += count;
    }
    return count;
}

void TPngMemoryStream::SeekForward(std::uint64_t count) {
    std::uint64_t left = Size - Offset;
    Offset += static_cast<std::size_t>(count < left ? count : left);
}

namespace {

bool SeekTo(std::FILE* file, std::uint64_t position) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(position), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

std::uint64_t Tell(std::FILE* file) {
#ifdef _WIN32
    long long position = _ftelli64(file);
#else
    off_t position = ftello(file);
#endif
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

} // namespace

TPngFileStream::TPngFileStream(const std::string& path) {
#ifdef _WIN32
    // The C library's narrow names go through the ANSI code page; the path is UTF-8.
    File = _wfopen(text::toUtf16(path).c_str(), L"rb");
#else
    File = std::fopen(path.c_str(), "rb");
#endif
    if (!File)
        return;
    if (std::fseek(File, 0, SEEK_END) == 0)
        FileSize = Tell(File);
    SeekTo(File, 0);
}

TPngFileStream::~TPngFileStream() {
    if (File)
        std::fclose(File);
}

std::size_t TPngFileStream::Read(void* buffer, std::size_t count) {
    if (!File || count == 0)
        return 0;
    std::size_t got = std::fread(buffer, 1, count, File);
    Offset += got;
    return got;
}

void TPngFileStream::SeekForward(std::uint64_t count) {
    if (!File)
        return;
    std::uint64_t left = FileSize > Offset ? FileSize - Offset : 0;
    std::uint64_t target = Offset + (count < left ? count : left);
    if (SeekTo(File, target))
        Offset = target;
}

} // namespace sc::png
