#include "formats/theme_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

#include "core/catalogue.h"
#include "core/clipped_text.h"
#include "core/run_error.h"
#include "core/utf16.h"
#include "core/utf8_text.h"
#include "formats/color_text.h"
#include "formats/json.h"
#include "formats/list_lookup.h"

namespace huevane {
namespace {

// The line (counted from 1) that the character at offset is on.
template <typename Char>
int LineAt(std::basic_string_view<Char> text, std::size_t offset) {
    return 1 + static_cast<int>(std::count(
                   text.begin(),
                   text.begin() + static_cast<std::ptrdiff_t>(std::min(offset, text.size())),
                   Char{'\n'}));
}

// UTF-8 for UTF-16 bytes of either order. Refused, naming the line of the fault, for bytes
// that are not UTF-16: an odd byte at the end, a surrogate without its partner.
std::string Utf16Text(const std::string& fileName, std::string_view bytes, ByteOrder order) {
    const std::u16string text = Utf16FromBytes(bytes, order);
    std::size_t bad = FindLoneSurrogate(text);
    if (bad == std::u16string::npos && bytes.size() % 2 != 0) {
        bad = text.size();
    }
    if (bad != std::u16string::npos) {
        throw RunError::Described(
            Clipped(fileName) + ":" + std::to_string(LineAt(std::u16string_view(text), bad)) +
            ": not UTF-16 text, although it starts as UTF-16; nothing was written");
    }
    return Utf16ToUtf8(text);
}

// Whether text looks like UTF-16 that lost its byte-order mark: at least half of the bytes in
// one of the two alternate places are zero, and fewer than half in the other. JSON text has no
// zero byte at all, so such a text is refused anyway; this only names the likely cause.
bool LooksLikeUtf16(std::string_view text) {
    std::array<std::size_t, 2> zeros{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        zeros[i % 2] += text[i] == '\0' ? 1 : 0;
    }
    const std::array<std::size_t, 2> places = {(text.size() + 1) / 2, text.size() / 2};
    const auto mostlyZero = [&](std::size_t place) { return 2 * zeros[place] >= places[place]; };
    return text.size() >= 2 && mostlyZero(0) != mostlyZero(1);
}

// The text of a theme file's bytes, as UTF-8 without a byte-order mark. Windows tools write
// themes with a mark: Notepad's UTF-8, and the UTF-16LE of Windows PowerShell 5's ">".
std::string ThemeText(const std::string& fileName, std::string_view bytes) {
    std::string text;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        text =
            Utf16Text(fileName, bytes.substr(2),
                      bytes.front() == '\xFE' ? ByteOrder::kBigEndian : ByteOrder::kLittleEndian);
    } else {
        if (bytes.starts_with("\xEF\xBB\xBF")) {
            bytes.remove_prefix(3);
        }
        text = bytes;
    }
    if (LooksLikeUtf16(text)) {
        throw RunError::Described(Clipped(fileName) +
                                  ": looks like UTF-16 without a byte-order mark (a zero byte in "
                                  "every other place); save it as UTF-8, or as UTF-16 with a "
                                  "byte-order mark; nothing was written");
    }
    if (const std::size_t bad = FirstNonUtf8(text); bad != std::string::npos) {
        throw RunError::Described(
            Clipped(fileName) + ":" + std::to_string(LineAt(std::string_view(text), bad)) +
            ": not UTF-8 text (save the theme as UTF-8 or UTF-16); nothing was written");
    }
    return text;
}

// Reads a theme file, naming the file, line and field of any mistake.
class ThemeReader {
public:
    explicit ThemeReader(std::string fileName) : fileName_(std::move(fileName)) {}

    Theme Read(std::string_view bytes) const {
        const std::string text = ThemeText(fileName_, bytes);
        JsonValue document;
        try {
            document = ParseJson(text);
        } catch (const JsonSyntaxError& e) {
            throw RunError::Described(Clipped(fileName_) + ":" + std::to_string(e.line()) +
                                      ": not JSON: " + e.what());
        }
        Expect(document, JsonValue::Kind::kObject, "the file", "an object");
        RefuseDuplicates(document, "");
        Theme theme;
        const JsonValue* properties = nullptr;
        const JsonValue* build = nullptr;
        for (const auto& [name, value] : document.members) {
            if (name == "build") {
                build = &value;
            } else if (name == "properties") {
                properties = &value;
            } else {
                Mistake(value, name, "unknown field");
            }
        }
        if (properties == nullptr) {
            Mistake(document, "properties", "missing");
        }
        if (build != nullptr) {
            theme.version = Build(*build);
        }
        Expect(*properties, JsonValue::Kind::kArray, "properties", "a list");
        for (std::size_t i = 0; i < properties->items.size(); ++i) {
            const std::string field = "properties[" + std::to_string(i) + "]";
            theme.colors.push_back(Color(properties->items[i], field, i));
            for (std::size_t j = 0; j + 1 < theme.colors.size(); ++j) {
                if (theme.colors[j].property == theme.colors.back().property) {
                    Mistake(properties->items[i], field,
                            "\"" + std::string(PropertyText(theme.colors[j].property)) +
                                "\" is already given on line " +
                                std::to_string(theme.colors[j].line));
                }
            }
        }
        if (theme.colors.empty()) {
            Mistake(*properties, "properties", "no colours given");
        }
        return theme;
    }

    [[noreturn]] void Mistake(const JsonValue& value, const std::string& field,
                              const std::string& what) const {
        // field holds the file's own key names: shown escaped and clipped like any outside text.
        throw RunError::Described(Clipped(fileName_) + ":" + std::to_string(value.line) + ": " +
                                  Clipped(field) + ": " + what + "; nothing was written");
    }

private:
    // Every name once in an object: readers that take the first and those that take the last
    // would otherwise see different themes.
    void RefuseDuplicates(const JsonValue& object, const std::string& field) const {
        std::set<std::string_view> names;
        for (const auto& [name, value] : object.members) {
            if (!names.insert(name).second) {
                std::string where = field.empty() ? std::string() : field + ".";
                where += name;
                Mistake(value, where, "given twice");
            }
        }
    }

    void Expect(const JsonValue& value, JsonValue::Kind kind, const std::string& field,
                const char* what) const {
        if (value.kind != kind) {
            Mistake(value, field, std::string("should be ") + what);
        }
    }

    // "index" and "text" (or "name"): each names a list entry, and they agree. The text is the
    // entry's, never an index written as text. otherField is the one other field the object
    // may hold, which the caller reads; empty for none.
    template <typename List>
    std::int16_t Entry(const JsonValue& object, const std::string& field, const List& list,
                       std::string_view textField, const char* what,
                       std::string_view otherField = {}) const {
        Expect(object, JsonValue::Kind::kObject, field, "an object");
        RefuseDuplicates(object, field);
        std::optional<std::int16_t> entry;
        std::string entryField;
        for (const auto& [name, value] : object.members) {
            std::string where = field;
            where.append(".").append(name);
            std::optional<std::int16_t> named;
            if (name == "index") {
                if (value.kind == JsonValue::Kind::kNumber) {
                    named = ListIndex(value.text, list.size());
                }
                if (!named) {
                    Mistake(value, where, std::string("no such ") + what);
                }
            } else if (name == textField) {
                if (value.kind == JsonValue::Kind::kString && !AllDigits(value.text)) {
                    named = what == std::string_view("build") ? FindBuild(value.text).version
                                                              : IndexIn(list, value.text);
                }
                if (!named) {
                    Mistake(value, where, std::string("unknown ") + what);
                }
            } else if (otherField.empty() || name != otherField) {
                Mistake(value, where, "unknown field");
            }
            if (named && entry && *named != *entry) {
                Mistake(value, where, "names another " + std::string(what) + " than " + entryField);
            }
            if (named) {
                entry = named;
                entryField = where;
            }
        }
        if (!entry) {
            Mistake(object, field, R"(needs "index" or ")" + std::string(textField) + "\"");
        }
        return *entry;
    }

    std::int16_t Build(const JsonValue& build) const {
        return Entry(build, "build", kVersionTexts, "text", "build");
    }

    ThemeColor Color(const JsonValue& item, const std::string& field, std::size_t position) const {
        const std::int16_t property =
            Entry(item, field, kPropertyTexts, "name", "property", "color");
        const auto color = std::find_if(item.members.begin(), item.members.end(),
                                        [](const auto& member) { return member.name == "color"; });
        if (color == item.members.end()) {
            Mistake(item, field, "needs \"color\"");
        }
        std::optional<Rgb> parsed;
        if (color->value.kind == JsonValue::Kind::kString) {
            parsed = ParseColorText(color->value.text);
        }
        if (!parsed) {
            Mistake(color->value, field + ".color", "bad colour (use #RRGGBB, RRGGBB or R,G,B)");
        }
        return {property, *parsed, item.line, position};
    }

    std::string fileName_;
};

}  // namespace

Theme ReadThemeFile(const std::string& fileName, std::string_view bytes) {
    return ThemeReader(fileName).Read(bytes);
}

void RefuseMissingProperties(const std::string& fileName, const Theme& theme,
                             std::int16_t version) {
    for (const ThemeColor& color : theme.colors) {
        if (!IsAvailable(version, color.property)) {
            throw RunError::Described(Clipped(fileName) + ":" + std::to_string(color.line) +
                                      ": properties[" + std::to_string(color.position) + "]: \"" +
                                      std::string(PropertyText(color.property)) +
                                      "\" does not exist in build " +
                                      std::string(VersionText(version)) + "; nothing was written");
        }
    }
}

}  // namespace huevane
