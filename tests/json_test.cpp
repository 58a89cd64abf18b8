#include "formats/json.h"

#include <gtest/gtest.h>

#include <string>

namespace huevane::cli {
namespace {

// Text that is not JSON, the line the error must name, and the start of its message.
struct BadJson {
    std::string text;
    int line;
    std::string message;
};

class JsonSyntaxErrorTest : public ::testing::TestWithParam<BadJson> {};

TEST_P(JsonSyntaxErrorTest, NamesTheLineAndWhat) {
    try {
        ParseJson(GetParam().text);
        FAIL() << "parsed";
    } catch (const JsonSyntaxError& e) {
        EXPECT_EQ(e.line(), GetParam().line);
        EXPECT_EQ(std::string(e.what()).rfind(GetParam().message, 0), 0u) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonSyntaxErrorTest,
    ::testing::Values(BadJson{"", 1, "unexpected end of text"},
                      BadJson{"{}\n\n x", 3, "text after the end"},
                      BadJson{"{\n\"a\": 1,\n}", 3, "expected a quoted field name"},
                      BadJson{"[01]", 1, "expected ','"}, BadJson{"[1.]", 1, "bad number"},
                      BadJson{"\"a\nb\"", 1, "control character in a string"},
                      BadJson{R"("\ud800")", 1, "bad surrogate pair"},
                      BadJson{R"("\udc00\ud800")", 1, "bad surrogate pair"},
                      BadJson{R"("\x")", 1, "bad escape"}, BadJson{"\"\\u12", 1, "bad \\u escape"},
                      BadJson{std::string(40, '[') + std::string(40, ']'), 1, "nested too deeply"},
                      BadJson{"tru", 1, "expected a JSON value"}));

TEST(ParseJson, KeepsOrderLinesAndDecodedText) {
    const JsonValue value = ParseJson(
        "{\"b\": [true, null],\n \"a\": \"\\u00e9\\ud83d\\ude00\\/\","
        "\n \"b\": -1.5e+3}");
    ASSERT_EQ(value.members.size(), 3u);  // a field given twice is kept twice, for the caller
    EXPECT_EQ(value.members[0].name, "b");
    EXPECT_EQ(value.members[0].value.items.size(), 2u);
    EXPECT_EQ(value.members[1].value.text, "\xC3\xA9\xF0\x9F\x98\x80/");
    EXPECT_EQ(value.members[1].value.line, 2);
    EXPECT_EQ(value.members[2].value.kind, JsonValue::Kind::kNumber);
    EXPECT_EQ(value.members[2].value.text, "-1.5e+3");
    EXPECT_EQ(value.members[2].value.line, 3);
    EXPECT_EQ(ParseJson(R"("\"\\\/\b\f\n\r\t")").text, "\"\\/\b\f\n\r\t");
}

}  // namespace
}  // namespace huevane::cli
