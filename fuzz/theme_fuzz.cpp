// Feeds arbitrary bytes to the theme reader of set --from. Besides what the sanitizers catch:
// the only way to refuse is a RunError that describes why; a theme read has valid colours, each
// property once; and the same text with a UTF-8 byte-order mark, or as UTF-16LE with its mark,
// reads the same, and so does the same text with CRLF line ends where it has no zero byte (an
// added CR would shift UTF-16 that lost its mark out of the places that tell it).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>

#include "core/catalogue.h"
#include "core/run_error.h"
#include "core/utf16.h"
#include "core/utf8_text.h"
#include "formats/theme_file.h"
#include "fuzz/line_ends.h"

namespace {

using huevane::ReadThemeFile;
using huevane::RunError;
using huevane::Theme;
using huevane::ThemeColor;

void Check(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// A theme, or the message that refused it.
using Outcome = std::variant<Theme, std::string>;

Outcome Read(std::string_view bytes) {
    try {
        return ReadThemeFile("theme.json", bytes);
    } catch (const RunError& e) {
        Check(e.cause() == huevane::ErrorCause::kDescribed,
              "a bad theme is described, not a usage error");
        return std::string(e.what());
    }
}

bool Same(const Outcome& a, const Outcome& b) {
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* message = std::get_if<std::string>(&a)) {
        return *message == std::get<std::string>(b);
    }
    const Theme& x = std::get<Theme>(a);
    const Theme& y = std::get<Theme>(b);
    return x.version == y.version && x.colors == y.colors;
}

void CheckTheme(const Theme& theme) {
    Check(!theme.version || (*theme.version >= 0 && static_cast<std::size_t>(*theme.version) <
                                                        huevane::kVersionTexts.size()),
          "the build, where named, is one of the list");
    Check(!theme.colors.empty(), "a theme has colours");
    std::set<std::int16_t> properties;
    for (std::size_t i = 0; i < theme.colors.size(); ++i) {
        const ThemeColor& color = theme.colors[i];
        Check(color.property >= 0 &&
                  static_cast<std::size_t>(color.property) < huevane::kPropertyTexts.size(),
              "the property is one of the list");
        Check(properties.insert(color.property).second, "each property once");
        Check(color.line >= 1 && color.position == i, "each colour knows its place");
    }
}

// UTF-16LE with its byte-order mark for well-formed UTF-8; nullopt for anything else.
std::optional<std::string> Utf16Le(std::string_view text) {
    if (!huevane::IsValidUtf8(text)) {
        return std::nullopt;
    }
    return "\xFF\xFE" +
           huevane::BytesOfUtf16(huevane::Utf8ToUtf16(text), huevane::ByteOrder::kLittleEndian);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Outcome outcome = Read(input);
    if (const auto* theme = std::get_if<Theme>(&outcome)) {
        CheckTheme(*theme);
    }
    const bool marked = input.starts_with("\xEF\xBB\xBF") || input.starts_with("\xFF\xFE") ||
                        input.starts_with("\xFE\xFF");
    if (!marked) {
        if (input.find('\0') == std::string_view::npos) {
            Check(Same(Read(ToCrlf(input)), outcome), "CRLF reads as LF");
        }
        Check(Same(Read("\xEF\xBB\xBF" + std::string(input)), outcome),
              "a UTF-8 byte-order mark changes nothing");
        if (const std::optional<std::string> utf16 = Utf16Le(input)) {
            Check(Same(Read(*utf16), outcome), "UTF-16LE reads as the same text");
        }
    }
    return 0;
}
