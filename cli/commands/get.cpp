// get: the colours stored now in the client's buddyui.ocm, as #RRGGBB.
#include <cstdint>
#include <memory>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "cli/client_choice.h"
#include "cli/command_values.h"
#include "cli/commands/commands.h"
#include "cli/error_messages.h"
#include "cli/file_step.h"
#include "cli/read_bytes.h"
#include "core/catalogue.h"
#include "formats/color_text.h"
#include "formats/json_writer.h"
#include "formats/list_lookup.h"

namespace huevane::cli {
namespace {

struct StoredColour {
    std::int16_t property;
    Rgb colour;
};

// Every property, or the one that --property names, which the build must have.
std::vector<std::int16_t> PropertiesToShow(const Arguments& args, std::int16_t version) {
    if (!args.properties.empty()) {
        const std::int16_t property = ParseProperty(args.properties.front());
        if (!IsAvailable(version, property)) {
            throw Unavailable();
        }
        return {property};
    }
    std::vector<std::int16_t> all(kPropertyTexts.size());
    std::iota(all.begin(), all.end(), std::int16_t{0});
    return all;
}

// The colours of the properties that the build has, read from where it keeps them; only those
// bytes are read.
std::vector<StoredColour> ReadColours(FileSystem& fs, const std::string& target,
                                      std::int16_t version,
                                      const std::vector<std::int16_t>& properties) {
    struct StoredBytes {
        std::int16_t property;
        std::uint64_t offset;
        std::string bytes;  // fewer than 3 where the file ends before
        std::uint64_t fileSize;
    };
    const std::vector<StoredBytes> read = OnFile(fs, FileAction::kRead, target, [&] {
        std::vector<StoredBytes> stored;
        const std::unique_ptr<ReadableFile> file = fs.OpenRead(target);
        for (const std::int16_t property : properties) {
            if (const std::optional<std::uint32_t> offset = ColourOffset(version, property)) {
                stored.push_back({property, *offset, ReadBytesAt(*file, *offset, 3), file->Size()});
            }
        }
        return stored;
    });
    std::vector<StoredColour> colours;
    for (const StoredBytes& stored : read) {
        if (stored.bytes.size() < 3) {
            throw TooShortToHold(target, stored.property, stored.fileSize, stored.offset + 3);
        }
        const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(stored.bytes[i]); };
        colours.push_back({stored.property, {byte(0), byte(1), byte(2)}});
    }
    return colours;
}

// One property to a line, so that set --from can name the line of a mistake.
void WriteJson(std::ostream& out, std::int16_t version, const std::vector<StoredColour>& colours) {
    std::vector<std::string> entries;
    entries.reserve(colours.size());
    for (const auto& [property, colour] : colours) {
        entries.push_back(JsonObject({JsonMember("index", std::to_string(property)),
                                      JsonMember("name", JsonQuote(PropertyText(property))),
                                      JsonMember("color", JsonQuote(FormatColor(colour)))}));
    }
    out << JsonObjectLines({JsonMember("build", VersionJson(version)),
                            JsonMember("properties", JsonArrayLines(entries, "    "))},
                           "  ")
        << "\n";
}

}  // namespace

void Get(const CommandContext& context) {
    ClientChoice client(context);
    const std::int16_t version = client.Version(Access::kRead);
    const std::vector<std::int16_t> properties = PropertiesToShow(context.args, version);
    const std::string target = client.Target();
    const std::vector<StoredColour> colours = ReadColours(context.fs, target, version, properties);
    if (context.args.json) {
        WriteJson(context.out, version, colours);
        return;
    }
    for (const auto& [property, colour] : colours) {
        context.out << PropertyText(property) << ": " << FormatColor(colour) << "\n";
    }
}

}  // namespace huevane::cli
