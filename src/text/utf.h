// The text boundary: inside the program text is UTF-8 in std::string; the platform's
// wide-character functions take and give UTF-16. Both directions are total: an ill-formed
// sequence becomes U+FFFD and the conversion goes on, so no input ends or cuts the text.
// Platform-neutral: a wchar_t holds one UTF-16 code unit whatever its width.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sc::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// UTF-8 to UTF-16. Each maximal ill-formed subpart (a stray or missing continuation byte, an
// overlong form, an encoded surrogate, a value above U+10FFFF) gives one U+FFFD.
std::wstring toUtf16(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate, or a value that is no UTF-16 code unit, gives U+FFFD.
std::string toUtf8(std::wstring_view utf16);

// The first `maxUnits` code units of `utf16`, one fewer where the cut would part a surrogate
// pair; all of it when it is not longer.
std::wstring_view cutUtf16(std::wstring_view utf16, std::size_t maxUnits);

// UTF-8 text cut to at most `maxUnits` UTF-16 code units in the same way, as a platform
// buffer of that many characters would hold it.
std::string cutToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// Calls `run` as a main function with the program's arguments, given in UTF-16 as the system
// holds them, turned into UTF-8; returns what it returns.
int runWithUtf8Arguments(int argc, wchar_t** argv, int (*run)(int, char**));

} // namespace sc::text
