#include "cli/command_values.h"

#include <algorithm>
#include <optional>
#include <string>
#include <variant>

#include "cli/command_table.h"
#include "cli/error_messages.h"
#include "core/catalogue.h"
#include "formats/color_text.h"
#include "formats/list_lookup.h"

namespace huevane::cli {

void RefuseEmptyValues(const Arguments& args) {
    const auto isEmpty = [](const std::string& value) { return value.empty(); };
    for (const OptionEntry& option : OptionEntries()) {
        const auto* once = std::get_if<ValueField>(&option.target);
        const auto* repeated = std::get_if<RepeatedField>(&option.target);
        if ((once != nullptr && args.*(*once) && (args.*(*once))->empty()) ||
            (repeated != nullptr &&
             std::any_of((args.*(*repeated)).begin(), (args.*(*repeated)).end(), isEmpty))) {
            throw EmptyValue(option);
        }
    }
}

std::int16_t ParseBuild(std::string_view text) {
    const BuildMatch match = FindBuild(text);
    if (match.version) {
        return *match.version;
    }
    if (match.isBuildNumber) {
        throw BuildOutsideRanges(text);
    }
    throw UnknownBuild(text);
}

std::int16_t ParseProperty(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kPropertyTexts, text)) {
        return *index;
    }
    throw UnknownProperty(text);
}

Rgb ParseColour(std::string_view text) {
    if (const std::optional<Rgb> colour = ParseColorText(text)) {
        return *colour;
    }
    throw BadColour(text);
}

}  // namespace huevane::cli
