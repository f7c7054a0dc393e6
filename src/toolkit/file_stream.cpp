#include "toolkit/file_stream.h"

#include "toolkit/picture.h"

#include "text/utf.h"

namespace tk {

std::string FileOpenErrorText(const std::string& path, DWORD error) {
    std::string full = path;
    const std::wstring name = sc::text::toUtf16(path);
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameW(name.c_str(), MAX_PATH * 2, buffer, nullptr);
    if (n > 0 && n < MAX_PATH * 2)
        full = sc::text::toUtf8(std::wstring_view(buffer, n));
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string message =
        length && text ? sc::text::toUtf8(std::wstring_view(text, length)) : std::string();
    if (text)
        LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return "Cannot open file \"" + full + "\". " + message;
}

TFileStream::TFileStream(const std::string& path) {
    file_ = CreateFileW(sc::text::toUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        throw EFOpenError(FileOpenErrorText(path, GetLastError()));
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_, &size))
        size_ = static_cast<std::uint64_t>(size.QuadPart);
}

TFileStream::~TFileStream() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    std::size_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count) {
        const std::size_t left = count - total;
        const DWORD want = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file_, out + total, want, &got, nullptr) || got == 0)
            break;
        total += got;
    }
    position_ += total;
    return total;
}

void TFileStream::SeekForward(std::uint64_t count) {
    std::uint64_t target = position_ + count;
    if (target < position_ || target > size_)
        target = size_;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(target);
    if (SetFilePointerEx(file_, to, nullptr, FILE_BEGIN))
        position_ = target;
}

} // namespace tk
