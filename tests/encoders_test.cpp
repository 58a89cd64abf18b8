#include "core/encoders.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/run_error.h"

namespace huevane {
namespace {

using modColors::ColorToStr;
using modColors::HexToSpot;
using modColors::StrToWord;

ErrorNumber ErrorOf(void (*action)()) {
    try {
        action();
    } catch (const RunError& e) {
        return e.number();
    }
    ADD_FAILURE() << "no run-time error raised";
    return ErrorNumber{};
}

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (const int c : codes) {
        s.push_back(static_cast<char>(c));
    }
    return s;
}

struct ColorCase {
    std::int32_t color;
    std::string expected;  // red, green, blue
};

class ColorToStrTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorToStrTest, GivesRedGreenBlue) {
    EXPECT_EQ(ColorToStr(GetParam().color), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ColorToStrTest,
    ::testing::Values(ColorCase{0x000000FF, Bytes({0xFF, 0x00, 0x00})},  // pure red
                      ColorCase{0x00123456, Bytes({0x56, 0x34, 0x12})},  // BGR order
                      ColorCase{0x7F123456, Bytes({0x56, 0x34, 0x12})},  // top byte ignored
                      ColorCase{0x00FFFFFF, Bytes({0xFF, 0xFF, 0xFF})},  // white
                      ColorCase{0, Bytes({0, 0, 0})},                    // black
                      ColorCase{INT32_MIN, Bytes({0, 0, 0})}));          // top bit alone

TEST(ColorToStr, SystemColourReferencesRaiseError5) {
    const std::array<std::int32_t, 4> systemColors = {
        static_cast<std::int32_t>(0x8000000F),  // button face
        static_cast<std::int32_t>(0x80000005),  // window background
        -1,
        static_cast<std::int32_t>(0x80000100),  // only green non-zero: negative green
    };
    for (const std::int32_t color : systemColors) {
        SCOPED_TRACE(color);
        try {
            (void)ColorToStr(color);
            ADD_FAILURE() << "no error";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::kInvalidArgument);
        }
    }
}

struct SpotCase {
    const char* text;
    std::int32_t expected;
};

class HexToSpotTest : public ::testing::TestWithParam<SpotCase> {};

TEST_P(HexToSpotTest, GivesOneBasedPosition) {
    EXPECT_EQ(HexToSpot(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, HexToSpotTest,
    ::testing::Values(SpotCase{"5616", 0x5616 + 1}, SpotCase{"C7A4", 0xC7A4 + 1},
                      SpotCase{"8007", 0x8007 + 1},  // above 0x7FFF stays positive
                      SpotCase{"5dF9", 0x5DF9 + 1}, SpotCase{"5DF9", 0x5DF9 + 1},
                      SpotCase{"5d4e", 0x5D4E + 1}, SpotCase{"FFFF", 0xFFFF + 1},
                      SpotCase{"0000", 1}, SpotCase{"", 1},  // no bytes: word 0
                      SpotCase{"AB", 0xAB * 256 + 1},        // one byte is the high one
                      SpotCase{"5", 0x05 * 256 + 1},         // a lone digit is a byte
                      SpotCase{"12345", 0x1234 + 1},         // only two bytes count
                      SpotCase{"563412FF", 0x5634 + 1}));

TEST(HexToSpot, NonHexTextRaisesError13) {
    for (const char* text : {"56G6", "zz", "56 6", "-1", "0x56", "5616 "}) {
        SCOPED_TRACE(text);
        try {
            (void)HexToSpot(text);
            ADD_FAILURE() << "no error";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::kTypeMismatch);
        }
    }
}

TEST(HexToSpot, LengthBeyondSixteenBitsRaisesError6) {
    EXPECT_EQ(HexToSpot(std::string(32767, '0')), 1);
    EXPECT_EQ(ErrorOf([] { (void)HexToSpot(std::string(32768, '0')); }), ErrorNumber::kOverflow);
    // The length is checked before any digit is read.
    EXPECT_EQ(ErrorOf([] { (void)HexToSpot(std::string(40000, 'z')); }), ErrorNumber::kOverflow);
}

TEST(StrToWord, ReadsTwoBytesBigEndian) {
    EXPECT_EQ(StrToWord(""), 0);
    EXPECT_EQ(StrToWord(Bytes({0xAB})), 0xAB * 256);
    EXPECT_EQ(StrToWord(Bytes({0x56, 0x16})), 0x5616);
    EXPECT_EQ(StrToWord(Bytes({0xFF, 0xFF, 0x12})), 0xFFFF);
    EXPECT_EQ(StrToWord(Bytes({0x00, 0x80})), 0x80);
}

}  // namespace
}  // namespace huevane
