// The text boundary: UTF-8 inside, UTF-16 code units at the platform.
#include "text/utf.h"

#include <gtest/gtest.h>

namespace sc::text {
namespace {

// UTF-16 code units are written as std::wstring{...}: one per wchar_t, whatever its width.
const std::string kMathA = "\xF0\x9D\x92\x9C"; // U+1D49C, a surrogate pair in UTF-16
const std::string kReplacement = "\xEF\xBF\xBD";
const std::wstring kR{0xFFFD};

TEST(Utf, ScriptsAndCharactersBeyondTheBasicPlaneGoBothWays) {
    const std::string text = "A\xC3\xA9 \xD0\x96 \xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC " + kMathA;
    const std::wstring wide{'A', 0xE9,   ' ',    0x416, ' ',    0x3A9,
                            ' ', 0x65E5, 0x672C, ' ',   0xD835, 0xDC9C};
    EXPECT_EQ(toUtf16(text), wide);
    EXPECT_EQ(toUtf8(wide), text);
    EXPECT_EQ(toUtf16(std::string("a\0b", 3)),
              (std::wstring{'a', 0, 'b'})); // nothing ends the text
}

TEST(Utf, IllFormedUtf8GivesOneReplacementPerMaximalSubpartAndGoesOn) {
    const struct {
        std::string in;
        std::wstring out;
    } cases[] = {
        {"a\x80z", L"a" + kR + L"z"},            // a stray continuation byte
        {"\xC0\xAF", kR + kR},                   // an overlong "/"
        {"\xE0\x80\xAF", kR + kR + kR},          // overlong in three bytes
        {"\xED\xA0\x80", kR + kR + kR},          // an encoded surrogate
        {"\xF4\x90\x80\x80", kR + kR + kR + kR}, // above U+10FFFF
        {"\xE6\x97z", kR + L"z"},                // cut short by another character
        {"z\xF0\x9D\x92", L"z" + kR},            // cut short by the end
        {"\xFF\xFE", kR + kR},                   // no lead byte at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf16(c.in), c.out) << testing::PrintToString(c.in);
    }
}

TEST(Utf, LoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(toUtf8(std::wstring{'a', 0xD835, 'b'}), "a" + kReplacement + "b");
    EXPECT_EQ(toUtf8(std::wstring{0xDC9C, 0xD835}), kReplacement + kReplacement);
    EXPECT_EQ(toUtf8(std::wstring{0xD835, 0xD835, 0xDC9C}), kReplacement + kMathA);
}

TEST(Utf, ACutNeverPartsASurrogatePair) {
    // The title's 255 units with a pair across the end: the pair goes whole.
    const std::wstring title = std::wstring(254, L'T') + std::wstring{0xD835, 0xDC9C, 'x'};
    EXPECT_EQ(cutUtf16(title, 255), std::wstring(254, L'T'));
    EXPECT_EQ(cutUtf16(title, 256), title.substr(0, 256));
    EXPECT_EQ(cutUtf16(title, 300), title);
}

} // namespace
} // namespace sc::text
