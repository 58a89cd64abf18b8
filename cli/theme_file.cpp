#include "cli/theme_file.h"

#include <algorithm>
#include <optional>

#include "cli/cli_error.h"
#include "cli/json.h"
#include "cli/list_lookup.h"
#include "core/catalogue.h"
#include "core/clipped_text.h"
#include "core/color_text.h"

namespace huevane::cli {
namespace {

// Reads a theme file, naming the file, line and field of any mistake.
class ThemeReader {
public:
    explicit ThemeReader(std::string fileName) : fileName_(std::move(fileName)) {}

    Theme Read(std::string_view text) const {
        JsonValue document;
        try {
            document = ParseJson(text);
        } catch (const JsonSyntaxError& e) {
            Fail(Clipped(fileName_) + ":" + std::to_string(e.line()) + ": not JSON: " + e.what());
        }
        Expect(document, JsonValue::Kind::kObject, "the file", "an object");
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
        if (build == nullptr || properties == nullptr) {
            Mistake(document, build == nullptr ? "build" : "properties", "missing");
        }
        theme.version = Build(*build);
        theme.buildLine = build->line;
        Expect(*properties, JsonValue::Kind::kArray, "properties", "a list");
        for (std::size_t i = 0; i < properties->items.size(); ++i) {
            const std::string field = "properties[" + std::to_string(i) + "]";
            theme.colors.push_back(Color(properties->items[i], field, theme.version));
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
        Fail(Clipped(fileName_) + ":" + std::to_string(value.line) + ": " + field + ": " + what +
             "; nothing was written");
    }

private:
    void Expect(const JsonValue& value, JsonValue::Kind kind, const std::string& field,
                const char* what) const {
        if (value.kind != kind) {
            Mistake(value, field, std::string("should be ") + what);
        }
    }

    // An index that is a whole number below size, or -1 when the value is none.
    static int SmallIndex(const JsonValue& value, std::size_t size) {
        if (value.kind != JsonValue::Kind::kNumber || !AllDigits(value.text) ||
            value.text.size() > 2) {
            return -1;
        }
        const int index = std::stoi(value.text);
        return index < static_cast<int>(size) ? index : -1;
    }

    // "index" and "text" (or "name"): each names a list entry, and they agree.
    template <typename List>
    std::int16_t Entry(const JsonValue& object, const std::string& field, const List& list,
                       std::string_view textField, const char* what) const {
        Expect(object, JsonValue::Kind::kObject, field, "an object");
        std::optional<std::int16_t> entry;
        std::string entryField;
        for (const auto& [name, value] : object.members) {
            std::string where = field;
            where.append(".").append(name);
            std::optional<std::int16_t> named;
            if (name == "index") {
                const int index = SmallIndex(value, list.size());
                if (index < 0) {
                    Mistake(value, where, std::string("no such ") + what);
                }
                named = static_cast<std::int16_t>(index);
            } else if (name == textField) {
                if (value.kind == JsonValue::Kind::kString) {
                    named = what == std::string_view("build") ? FindBuild(value.text).version
                                                              : IndexIn(list, value.text);
                }
                if (!named) {
                    Mistake(value, where, std::string("unknown ") + what);
                }
            } else if (name != "color") {
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

    ThemeColor Color(const JsonValue& item, const std::string& field, std::int16_t version) const {
        const std::int16_t property = Entry(item, field, kPropertyTexts, "name", "property");
        if (!IsAvailable(version, property)) {
            Mistake(item, field,
                    "\"" + std::string(PropertyText(property)) + "\" does not exist in build " +
                        std::string(VersionText(version)));
        }
        const auto color = std::find_if(item.members.begin(), item.members.end(),
                                        [](const auto& member) { return member.name == "color"; });
        if (color == item.members.end()) {
            Mistake(item, field, "needs \"color\"");
        }
        std::optional<std::int32_t> parsed;
        if (color->value.kind == JsonValue::Kind::kString) {
            parsed = ParseColorText(color->value.text);
        }
        if (!parsed) {
            Mistake(color->value, field + ".color", "bad colour (use #RRGGBB, RRGGBB or R,G,B)");
        }
        return {property, *parsed, item.line};
    }

    std::string fileName_;
};

}  // namespace

Theme ReadThemeFile(const std::string& fileName, std::string_view text) {
    return ThemeReader(fileName).Read(text);
}

}  // namespace huevane::cli
