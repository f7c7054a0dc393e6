#include "text/utf.h"

#include <cstdint>
#include <vector>

namespace sc::text {

namespace {

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code unit as a number; on platforms with a signed 32-bit wchar_t a negative one comes
// out above 0xFFFF and counts as no code unit.
std::uint32_t unitAt(std::wstring_view utf16, std::size_t i) {
    return static_cast<std::uint32_t>(utf16[i]);
}

void appendUtf16(std::wstring& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<wchar_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

std::wstring toUtf16(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        // The length a lead byte announces, and the range its first continuation byte must lie
        // in: narrower after E0, ED, F0 and F4, which keeps out overlong forms, surrogates and
        // values above U+10FFFF.
        std::size_t length = 0;
        char32_t c = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            out.push_back(static_cast<wchar_t>(kReplacementCharacter));
            ++i;
            continue;
        }
        std::size_t next = i + 1;
        bool whole = true;
        for (std::size_t k = 1; k < length; ++k, ++next) {
            const auto byte = next < utf8.size() ? static_cast<unsigned char>(utf8[next]) : 0u;
            if (byte < low || byte > high) {
                whole = false; // the bytes so far are one ill-formed subpart; `next` starts anew
                break;
            }
            c = (c << 6) | (byte & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        appendUtf16(out, whole ? c : kReplacementCharacter);
        i = next;
    }
    return out;
}

std::string toUtf8(std::wstring_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const std::uint32_t unit = unitAt(utf16, i);
        char32_t c = kReplacementCharacter;
        if (isHighSurrogate(unit)) {
            if (i + 1 < utf16.size() && isLowSurrogate(unitAt(utf16, i + 1))) {
                c = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(utf16, i + 1) - 0xDC00);
                ++i;
            }
        } else if (unit <= 0xFFFF && !isLowSurrogate(unit)) {
            c = unit;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::wstring_view cutUtf16(std::wstring_view utf16, std::size_t maxUnits) {
    if (utf16.size() <= maxUnits) {
        return utf16;
    }
    std::size_t length = maxUnits;
    if (length > 0 && isHighSurrogate(unitAt(utf16, length - 1)) &&
        isLowSurrogate(unitAt(utf16, length))) {
        --length;
    }
    return utf16.substr(0, length);
}

std::string cutToUtf16Units(std::string_view utf8, std::size_t maxUnits) {
    return toUtf8(cutUtf16(toUtf16(utf8), maxUnits));
}

int runWithUtf8Arguments(int argc, wchar_t** argv, int (*run)(int, char**)) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(toUtf8(argv[i]));
    }
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return run(argc, pointers.data());
}

} // namespace sc::text
