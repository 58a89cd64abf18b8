// set: one or more colours written into the client's buddyui.ocm in one safe replacement, from
// --property P --color C pairs or from a theme (--from THEME) that get --json wrote.
#include <algorithm>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/client_choice.h"
#include "cli/command_values.h"
#include "cli/commands/commands.h"
#include "cli/error_messages.h"
#include "cli/file_step.h"
#include "cli/read_bytes.h"
#include "core/clipped_text.h"
#include "core/patch_writer.h"
#include "formats/theme_file.h"

namespace huevane::cli {
namespace {

// The properties that the --property options name, each at most once.
std::vector<std::int16_t> ParseProperties(const std::vector<std::string>& texts) {
    std::vector<std::int16_t> properties(texts.size());
    std::transform(texts.begin(), texts.end(), properties.begin(),
                   [](const std::string& text) { return ParseProperty(text); });
    for (auto property = properties.begin(); property != properties.end(); ++property) {
        if (std::find(properties.begin(), property, *property) != property) {
            throw PropertyGivenTwice(*property);
        }
    }
    return properties;
}

// The bytes of a theme on standard input, no more than a theme may have.
std::string ThemeFromInput(std::istream& in) {
    std::string bytes(kMaxThemeBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        throw ThemeInputUnreadable();
    }
    if (bytes.size() > kMaxThemeBytes) {
        throw ThemeInputTooLarge();
    }
    return bytes;
}

// The bytes of a theme file, refused by its size before anything is read.
std::string ThemeFromFile(FileSystem& fs, const std::string& fileName) {
    struct Read {
        std::uint64_t size;
        std::string bytes;  // read only when size is within the limit
    };
    const Read read = OnFile(fs, FileAction::kRead, fileName, [&] {
        const std::unique_ptr<ReadableFile> file = fs.OpenRead(fileName);
        const std::uint64_t size = file->Size();
        // One byte more than a theme may have: the file may have grown since.
        return Read{size, size <= kMaxThemeBytes ? ReadBytesAt(*file, 0, kMaxThemeBytes + 1) : ""};
    });
    if (read.size > kMaxThemeBytes) {
        throw ThemeTooLarge(fileName, read.size);
    }
    if (read.bytes.size() > kMaxThemeBytes) {
        throw ThemeGrew(fileName);
    }
    return read.bytes;
}

// The backup, when asked for, is made under the target's lock from the bytes the patch reads,
// and replaces the old one only once the target is rewritten.
void Write(const CommandContext& context, ClientChoice& client,
           const std::vector<ColorPatch>& patches) {
    const std::string target = client.Target();
    BackupCopy backup;
    if (context.args.backup) {
        RefuseBackupOfItself(context.fs, *context.args.backup, target);
        backup.path = *context.args.backup;
    }
    try {
        PatchColors(context.fs, target, patches, ColorFit::kWholeColour,
                    context.args.backup ? &backup : nullptr);
    } catch (const RunError& e) {
        throw WriteFailure(target, backup, e, context.fs);
    }
    context.out << "set " << patches.size() << (patches.size() == 1 ? " colour" : " colours")
                << " in " << Clipped(target) << "\n";
}

void SetPairs(const CommandContext& context) {
    std::vector<Rgb> colours;
    for (const std::string& text : context.args.colors) {
        colours.push_back(ParseColour(text));
    }
    const std::vector<std::int16_t> properties = ParseProperties(context.args.properties);
    ClientChoice client(context);
    const std::int16_t version = client.Version(Access::kWrite);
    std::vector<ColorPatch> patches;
    for (std::size_t i = 0; i < properties.size(); ++i) {
        const std::optional<ColorPatch> patch = PatchFor(version, properties[i], colours[i]);
        if (!patch) {
            throw Unavailable();
        }
        patches.push_back(*patch);
    }
    Write(context, client, patches);
}

// The colours of a theme (or of standard input, for "-"), applied by property on the client's
// build: a property means the same on every build, so the build the theme was saved on only
// stands in where the client's cannot be told.
void SetFromTheme(const CommandContext& context, const std::string& fileName) {
    const bool fromInput = fileName == "-";
    const std::string shownName = fromInput ? "standard input" : fileName;
    const Theme theme = ReadThemeFile(
        shownName, fromInput ? ThemeFromInput(context.in) : ThemeFromFile(context.fs, fileName));
    ClientChoice client(context);
    const std::int16_t version = client.Version(Access::kWrite, theme.version);
    RefuseMissingProperties(shownName, theme, version);
    std::vector<ColorPatch> patches;
    for (const ThemeColor& colour : theme.colors) {
        patches.push_back(*PatchFor(version, colour.property, colour.color));
    }
    Write(context, client, patches);
}

}  // namespace

void Set(const CommandContext& context) {
    if (context.args.from) {
        SetFromTheme(context, *context.args.from);
    } else {
        SetPairs(context);
    }
}

}  // namespace huevane::cli
