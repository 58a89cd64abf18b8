// versions and properties: the program's two lists, with the indices that options take.
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands/commands.h"
#include "core/catalogue.h"
#include "formats/json_writer.h"
#include "formats/list_lookup.h"

namespace huevane::cli {
namespace {

// {"versions": [{"index": 0, "text": "5.0.2867"}, ...]}, one entry to a line; else one entry
// to a line as " 3  5.1.3009 - 5.1.3036", the index right-aligned.
template <typename List>
void ListEntries(const CommandContext& context, const List& list, std::string_view jsonList,
                 std::string_view jsonText) {
    if (context.args.json) {
        std::vector<std::string> entries;
        for (std::size_t i = 0; i < list.size(); ++i) {
            entries.push_back(JsonListEntry(i, jsonText, list[i]));
        }
        context.out << JsonObject({JsonMember(jsonList, JsonArrayLines(entries, "  "))}) << "\n";
        return;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        context.out << (i < 10 ? " " : "") << i << "  " << list[i] << "\n";
    }
}

}  // namespace

std::string VersionJson(std::int16_t version) {
    return JsonListEntry(static_cast<std::size_t>(version), "text", VersionText(version));
}

void ListVersions(const CommandContext& context) {
    ListEntries(context, kVersionTexts, "versions", "text");
}

void ListProperties(const CommandContext& context) {
    ListEntries(context, kPropertyTexts, "properties", "name");
}

}  // namespace huevane::cli
