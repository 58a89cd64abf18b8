#include "formats/color_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace huevane {
namespace {

struct ColorCase {
    const char* text;
    std::optional<Rgb> color;
};

class ParseColorTextTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ParseColorTextTest, ReadsTheThreeForms) {
    EXPECT_EQ(ParseColorText(GetParam().text), GetParam().color) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseColorTextTest,
    ::testing::Values(ColorCase{"#123456", Rgb{0x12, 0x34, 0x56}},
                      ColorCase{"123456", Rgb{0x12, 0x34, 0x56}},
                      ColorCase{"#abcDEF", Rgb{0xAB, 0xCD, 0xEF}},
                      ColorCase{"255,0,0", Rgb{255, 0, 0}}, ColorCase{"0,0,255", Rgb{0, 0, 255}},
                      ColorCase{"1,2,3", Rgb{1, 2, 3}}, ColorCase{"#000000", Rgb{}},
                      ColorCase{"#12345", std::nullopt}, ColorCase{"#1234567", std::nullopt},
                      ColorCase{"#12345G", std::nullopt}, ColorCase{"#+12345", std::nullopt},
                      ColorCase{"", std::nullopt}, ColorCase{"#", std::nullopt},
                      ColorCase{"256,0,0", std::nullopt}, ColorCase{"1,2", std::nullopt},
                      ColorCase{"1,2,3,4", std::nullopt}, ColorCase{"-1,0,0", std::nullopt},
                      ColorCase{"1,,3", std::nullopt}, ColorCase{" 1,2,3", std::nullopt}));

TEST(FormatColor, WritesRedGreenBlueInUpperCaseHex) {
    EXPECT_EQ(FormatColor({0x12, 0xAB, 0x00}), "#12AB00");
    EXPECT_EQ(FormatColor({0xFF, 0xFF, 0xFF}), "#FFFFFF");
}

}  // namespace
}  // namespace huevane
