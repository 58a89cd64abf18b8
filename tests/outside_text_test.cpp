// How text from outside (paths, registry values, theme fields, arguments) is shown: in a
// message or plain output, and in JSON.
#include <gtest/gtest.h>

#include <string>

#include "core/clipped_text.h"
#include "core/utf8_text.h"
#include "formats/json_writer.h"

namespace huevane {
namespace {

struct ShownCase {
    std::string text;
    std::string message;  // Clipped
    std::string json;     // JsonTextMember("p", text)
};

TEST(OutsideText, ShownEscapedOnOneLineAndAsValidJson) {
    const std::string e9 = "\xC3\xA9";  // é, two bytes
    std::string manyNewlines;
    for (int i = 0; i < 200; ++i) {
        manyNewlines += "\\n";
    }
    const std::vector<ShownCase> cases = {
        {"C:\\AIM\\aim.exe", "C:\\AIM\\aim.exe", R"("p": "C:\\AIM\\aim.exe")"},
        {"C:\\AIM\x1b]0;t\x07\x1b[2J\\aim.exe", R"(C:\AIM\x1b]0;t\x07\x1b[2J\aim.exe)",
         R"("p": "C:\\AIM\u001b]0;t\u0007\u001b[2J\\aim.exe")"},
        {"a\nhuevane-cli: b\tc\rd\x7f", R"(a\nhuevane-cli: b\tc\rd\x7f)",
         R"("p": "a\u000ahuevane-cli: b\u0009c\u000dd\u007f")"},
        // C1 controls, a line separator and a direction override, each as UTF-8.
        {"\xC2\x85\xC2\x9B\xE2\x80\xA8\xE2\x80\xAE", R"(\u0085\u009b\u2028\u202e)",
         "\"p\": \"\\u0085\\u009b\\u2028\xE2\x80\xAE\""},
        {"\xD0\x9F\xE6\x97\xA5\xF0\x9F\x98\x80", "\xD0\x9F\xE6\x97\xA5\xF0\x9F\x98\x80",
         "\"p\": \"\xD0\x9F\xE6\x97\xA5\xF0\x9F\x98\x80\""},
        // Not UTF-8: a stray byte, a cut sequence, an overlong '/', an encoded surrogate.
        {"/a\xFF/b", "/a\\xff/b", "\"p\": \"/a\xEF\xBF\xBD/b\", \"p_bytes\": \"2f61ff2f62\""},
        {"\xC3/", "\\xc3/", "\"p\": \"\xEF\xBF\xBD/\", \"p_bytes\": \"c32f\""},
        {"\xC0\xAF", "\\xc0\\xaf", "\"p\": \"\xEF\xBF\xBD\xEF\xBF\xBD\", \"p_bytes\": \"c0af\""},
        {"\xED\xA0\x80", R"(\xed\xa0\x80)",
         "\"p\": \"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\", \"p_bytes\": \"eda080\""},
        // 200 characters whole; past that, cut between characters and counted in characters.
        {std::string(199, 'x') + e9, std::string(199, 'x') + e9, ""},
        {std::string(199, 'x') + e9 + e9, std::string(199, 'x') + e9 + "... (201 characters)", ""},
        // A 5 MB theme key gives a short line.
        {std::string(5 << 20, '\n'), manyNewlines + "... (5242880 characters)", ""},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.message);
        const std::string message = Clipped(c.text);
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(Escaped(message), message);  // a message escaped again stays as it is
        EXPECT_TRUE(IsValidUtf8(message));
        if (!c.json.empty()) {
            EXPECT_EQ(JsonTextMember("p", c.text), c.json);
        }
    }
}

}  // namespace
}  // namespace huevane
