#include "formats/color_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace huevane {
namespace {

struct ColorCase {
    const char* text;
    std::optional<std::int32_t> color;  // 0x00BBGGRR
};

class ParseColorTextTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ParseColorTextTest, ReadsTheThreeForms) {
    EXPECT_EQ(ParseColorText(GetParam().text), GetParam().color) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseColorTextTest,
    ::testing::Values(ColorCase{"#123456", 0x563412}, ColorCase{"123456", 0x563412},
                      ColorCase{"#abcDEF", 0xEFCDAB}, ColorCase{"255,0,0", 0x0000FF},
                      ColorCase{"0,0,255", 0xFF0000}, ColorCase{"1,2,3", 0x030201},
                      ColorCase{"#000000", 0}, ColorCase{"#12345", std::nullopt},
                      ColorCase{"#1234567", std::nullopt}, ColorCase{"#12345G", std::nullopt},
                      ColorCase{"#+12345", std::nullopt}, ColorCase{"", std::nullopt},
                      ColorCase{"#", std::nullopt}, ColorCase{"256,0,0", std::nullopt},
                      ColorCase{"1,2", std::nullopt}, ColorCase{"1,2,3,4", std::nullopt},
                      ColorCase{"-1,0,0", std::nullopt}, ColorCase{"1,,3", std::nullopt},
                      ColorCase{" 1,2,3", std::nullopt}));

TEST(FormatColorBytes, WritesRedGreenBlueInUpperCaseHex) {
    EXPECT_EQ(FormatColorBytes(std::string("\x12\xAB\x00", 3)), "#12AB00");
    EXPECT_EQ(FormatColorBytes("\xFF\xFF\xFF"), "#FFFFFF");
}

}  // namespace
}  // namespace huevane
