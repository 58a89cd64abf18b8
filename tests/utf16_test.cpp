// UTF-8 inside the program, UTF-16 at the Windows API.
#include "core/utf16.h"

#include <gtest/gtest.h>

#include <string>

#include "core/utf8_text.h"

namespace huevane {
namespace {

struct Conversion {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

class BothWays : public ::testing::TestWithParam<Conversion> {};

TEST_P(BothWays, ConvertsAndConvertsBack) {
    const Conversion& c = GetParam();
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    // Only a lone surrogate makes WTF-8 that is no UTF-8.
    EXPECT_EQ(FindLoneSurrogate(c.utf16) == std::u16string::npos, IsValidUtf8(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BothWays,
    ::testing::Values(
        Conversion{"Empty", "", u""}, Conversion{"Ascii", "C:\\AIM\\aim.exe", u"C:\\AIM\\aim.exe"},
        Conversion{"ZeroInside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        Conversion{"TwoBytes", "\xC5\x81ukasz", u"\u0141ukasz"},
        Conversion{"LastOfTwoBytes", "\xDF\xBF", u"\u07FF"},
        Conversion{"ThreeBytes", "\xE7\xA8\x8B\xE5\xBA\x8F", u"\u7A0B\u5E8F"},
        Conversion{"LastBeforeSurrogates", "\xED\x9F\xBF", u"\uD7FF"},
        Conversion{"LastOfThreeBytes", "\xEF\xBF\xBF", u"\uFFFF"},
        Conversion{"FourBytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        Conversion{"LastCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        // A lone surrogate, which a Windows file name may hold, keeps its place both ways.
        Conversion{"LoneHighSurrogate", "a\xED\xA0\x80z", std::u16string{u'a', 0xD800, u'z'}},
        Conversion{"LoneLowSurrogate", "\xED\xBF\xBF", std::u16string{0xDFFF}}),
    [](const ::testing::TestParamInfo<Conversion>& value) { return value.param.name; });

struct Malformed {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

class NoUtf8 : public ::testing::TestWithParam<Malformed> {};

TEST_P(NoUtf8, BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NoUtf8,
    ::testing::Values(Malformed{"StrayContinuation", "a\x80z", u"a\uFFFDz"},
                      Malformed{"Latin1", "\xE9t\xE9", u"\uFFFDt\uFFFD"},
                      Malformed{"OverlongSlash", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      Malformed{"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
                      Malformed{"PastUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Malformed{"CutShort", "ab\xE7\xA8", u"ab\uFFFD\uFFFD"},
                      Malformed{"CutByAscii",
                                "\xE7"
                                "a",
                                u"\uFFFDa"}),
    [](const ::testing::TestParamInfo<Malformed>& value) { return value.param.name; });

}  // namespace
}  // namespace huevane
