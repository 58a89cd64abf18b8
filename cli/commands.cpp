#include "cli/commands.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "cli/arguments.h"
#include "cli/cli_error.h"
#include "client/client_location.h"
#include "cli/read_bytes.h"
#include "cli/file_error_text.h"
#include "cli/help_text.h"
#include "formats/json.h"
#include "formats/json_writer.h"
#include "formats/list_lookup.h"
#include "cli/standard_input.h"
#include "cli/standard_stream.h"
#include "formats/theme_file.h"
#include "core/catalogue.h"
#include "client/client_build.h"
#include "core/clipped_text.h"
#include "formats/color_text.h"
#include "core/safe_rewrite.h"
#include "core/patch_writer.h"
#include "core/run_error.h"
#include "huevane_version.h"

namespace huevane::cli {
namespace {

std::int16_t ParseBuild(std::string_view text) {
    const BuildMatch match = FindBuild(text);
    if (match.version) {
        return *match.version;
    }
    if (match.isBuildNumber) {
        Fail("build " + Clipped(text) + " is in none of the known version ranges");
    }
    UsageError("unknown build " + Clipped(text), "see 'huevane-cli versions'");
}

// {"index": 3, "text": "5.1.3009 - 5.1.3036"}: the build field of the JSON outputs.
std::string BuildJson(std::int16_t version) {
    return "{\"index\": " + std::to_string(version) +
           ", \"text\": " + JsonQuote(VersionText(version)) + "}";
}

std::int16_t ParseProperty(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kPropertyTexts, text)) {
        return *index;
    }
    UsageError("unknown property " + Clipped(text), "see 'huevane-cli properties'");
}

// The end of each message that refuses a theme for its size.
std::string ThemeLimitText() {
    return std::string("; a theme is at most ") + kMaxThemeText;
}

// The name of the client's executable, which its installer puts beside buddyui.ocm.
constexpr std::string_view kClientExecutableName = "aim.exe";

// The client's build, read from its executable, with its version list entry.
struct DetectedBuild {
    std::int16_t version;
    std::string build;  // such as 5.1.3020
};

// Raises RunError saying why the build cannot be told.
DetectedBuild DetectVersion(const ClientLocation& location, FileSystem& fs) {
    std::string executable = location.executable;
    if (executable.empty() && location.source == "--dir") {
        // The client's executable beside buddyui.ocm, its name in any letter case.
        std::optional<std::string> named;
        try {
            named = FindEntryIgnoringCase(fs, location.installDir, kClientExecutableName);
        } catch (const RunError& e) {
            Fail("cannot list " + Clipped(location.installDir) + ": " + Reason(e));
        }
        if (!named) {
            Fail("no " + std::string(kClientExecutableName) + " in " +
                 Clipped(location.installDir));
        }
        executable = fs.JoinPath(location.installDir, *named);
    }
    if (executable.empty()) {
        Fail("the client's executable is not known (not found)");
    }
    std::optional<ClientBuild> found;
    try {
        found = ReadClientBuild(fs, executable);
    } catch (const RunError& e) {
        Fail("cannot read " + Clipped(executable) + ": " + Reason(e, fs, executable));
    }
    if (!found) {
        Fail("no version resource in " + Clipped(executable));
    }
    if (!found->version) {
        Fail("build " + found->text + " is in none of the known version ranges");
    }
    return {*found->version, found->text};
}

// A line of data on standard output, such as locate's directory: the exact bytes for a pipe or
// a file, where a script reads them; with control characters escaped for a terminal, which
// would act on them.
std::string OutputLine(std::string_view data, bool toTerminal) {
    return (toTerminal ? Escaped(data) : std::string(data)) + "\n";
}

// An option given an empty value, which no message could show: refused before anything is
// looked at.
void RefuseEmptyNames(const Arguments& args) {
    const std::pair<const std::optional<std::string>*, const char*> names[] = {
        {&args.dir, "--dir needs a directory, not an empty name"},
        {&args.prefix, "--prefix needs a directory, not an empty name"},
        {&args.from, "--from needs a file name (or - for standard input), not an empty one"},
        {&args.backup, "--backup needs a file name, not an empty one"},
    };
    for (const auto& [name, refusal] : names) {
        if (*name && (*name)->empty()) {
            UsageError(refusal);
        }
    }
    const auto isEmpty = [](const std::string& value) { return value.empty(); };
    if (args.build && args.build->empty()) {
        UsageError("--build needs a build, not an empty one");
    }
    if (std::any_of(args.properties.begin(), args.properties.end(), isEmpty)) {
        UsageError("--property needs a property, not an empty one");
    }
    if (std::any_of(args.colors.begin(), args.colors.end(), isEmpty)) {
        UsageError("--color needs a colour, not an empty one");
    }
}

class Session {
public:
    Session(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err,
            FileSystem& fs)
        : args_(args), in_(in), out_(out), err_(err), fs_(fs), outIsTerminal_(IsTerminal(out)) {}

    void Run(Command command) {
        switch (command) {
            case Command::kVersions:
                ListEntries(kVersionTexts, "versions", "text");
                return;
            case Command::kProperties:
                ListEntries(kPropertyTexts, "properties", "name");
                return;
            case Command::kLocate:
                Locate();
                return;
            case Command::kDetect:
                Detect();
                return;
            case Command::kGet:
                Get();
                return;
            case Command::kSet:
                Set();
                return;
            case Command::kRestore:
                Restore();
                return;
        }
    }

private:
    template <typename List>
    void ListEntries(const List& list, std::string_view jsonList, std::string_view jsonText) {
        if (args_.json) {
            out_ << "{\"" << jsonList << "\": [\n";
            for (std::size_t i = 0; i < list.size(); ++i) {
                out_ << "  {\"index\": " << i << ", \"" << jsonText << "\": " << JsonQuote(list[i])
                     << "}" << (i + 1 < list.size() ? ",\n" : "\n");
            }
            out_ << "]}\n";
            return;
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            out_ << (i < 10 ? " " : "") << i << "  " << list[i] << "\n";
        }
    }

    void Locate() {
        const ClientLocation& location = Location();
        if (args_.json) {
            out_ << "{" << JsonTextMember("install_dir", location.installDir) << ", "
                 << (location.executable.empty()
                         ? "\"executable\": null"
                         : JsonTextMember("executable", location.executable))
                 << ", " << JsonTextMember("source", location.source) << "}\n";
            return;
        }
        // Only the directory on standard output, for dir=$(huevane-cli locate), never clipped.
        out_ << OutputLine(location.installDir, outIsTerminal_);
        err_ << "(from " << Clipped(location.source) << ")\n";
    }

    const ClientLocation& Location() {
        if (!location_) {
            location_ = LocateClient(args_.dir, args_.prefix, fs_);
        }
        return *location_;
    }

    std::string Target() {
        const std::string& dir = Location().installDir;
        try {
            return ExistingFilePath(fs_, dir, kTargetFileName);
        } catch (const RunError& e) {
            if (e.number() != ErrorNumber::kFileNotFound &&
                e.number() != ErrorNumber::kPathNotFound) {
                Fail("cannot look for buddyui.ocm in " + Clipped(dir) + ": " + Reason(e));
            }
            Fail("no buddyui.ocm in " + Clipped(dir));
        }
    }

    void Detect() {
        const DetectedBuild detected = DetectVersion(Location(), fs_);
        if (args_.json) {
            out_ << "{\"file_version\": " << JsonQuote(detected.build)
                 << ", \"build\": " << BuildJson(detected.version) << "}\n";
            return;
        }
        out_ << "build " << detected.build << ": version " << detected.version << " \""
             << VersionText(detected.version) << "\"\n";
    }

    // --build when given (checked against the detected build unless --force), else the
    // detected build, else (for set --from) the build that the theme file names.
    std::int16_t Version(bool writing, std::optional<std::int16_t> fallback = std::nullopt) {
        if (!args_.build) {
            const ClientLocation& location = Location();
            try {
                return DetectVersion(location, fs_).version;
            } catch (const RunError& e) {
                if (fallback) {
                    return *fallback;
                }
                Fail("cannot tell the client's build (" + Reason(e) + "); give --build");
            }
        }
        const std::int16_t version = ParseBuild(*args_.build);
        if (args_.force) {
            return version;
        }
        const ClientLocation& location = Location();
        std::optional<DetectedBuild> detected;
        try {
            detected = DetectVersion(location, fs_);
        } catch (const RunError&) {
            return version;  // nothing to disagree with
        }
        if (detected->version != version) {
            Fail("--build " + Clipped(*args_.build) + " (" + std::string(VersionText(version)) +
                 ") disagrees with the client's build " + detected->build + " (" +
                 std::string(VersionText(detected->version)) + "); add --force to " +
                 (writing ? "write" : "read") + " anyway");
        }
        return version;
    }

    // The three bytes of each property's colour, as far as the file holds them.
    struct StoredBytes {
        std::int16_t property;
        std::uint64_t offset;
        std::string bytes;
        std::uint64_t fileSize;
    };

    std::vector<StoredBytes> ReadStoredBytes(const std::string& target, std::int16_t version,
                                             const std::vector<std::int16_t>& properties) {
        std::vector<StoredBytes> stored;
        try {
            const std::unique_ptr<ReadableFile> file = fs_.OpenRead(target);
            for (const std::int16_t property : properties) {
                if (!IsAvailable(version, property)) {
                    continue;  // this build has no such colour
                }
                const std::uint64_t offset = *ColourOffset(version, property);
                stored.push_back({property, offset, ReadBytesAt(*file, offset, 3), file->Size()});
            }
        } catch (const RunError& e) {
            Fail("cannot read " + Clipped(target) + ": " + Reason(e, fs_, target));
        }
        return stored;
    }

    void Get() {
        const std::int16_t version = Version(false);
        std::vector<std::int16_t> properties;
        if (args_.properties.empty()) {
            for (std::size_t i = 0; i < kPropertyTexts.size(); ++i) {
                properties.push_back(static_cast<std::int16_t>(i));
            }
        } else {
            properties.push_back(ParseProperty(args_.properties.front()));
            if (!IsAvailable(version, properties.front())) {
                Fail(std::string(kUnavailableText));
            }
        }
        const std::string target = Target();
        std::vector<std::pair<std::int16_t, std::string>> colors;
        for (const StoredBytes& stored : ReadStoredBytes(target, version, properties)) {
            if (stored.bytes.size() < 3) {
                Fail(Clipped(target) + " is too short to hold " +
                     std::string(PropertyText(stored.property)) + ": it has " +
                     std::to_string(stored.fileSize) + " bytes, " +
                     std::to_string(stored.offset + 3) + " are needed");
            }
            const auto byte = [&](std::size_t i) {
                return static_cast<std::uint8_t>(stored.bytes[i]);
            };
            colors.emplace_back(stored.property, FormatColor({byte(0), byte(1), byte(2)}));
        }
        if (!args_.json) {
            for (const auto& [property, color] : colors) {
                out_ << PropertyText(property) << ": " << color << "\n";
            }
            return;
        }
        // One property to a line, so that set --from can name the line of a mistake.
        out_ << "{\n  \"build\": " << BuildJson(version) << ",\n  \"properties\": [\n";
        for (std::size_t i = 0; i < colors.size(); ++i) {
            out_ << R"(    {"index": )" << colors[i].first << R"(, "name": )"
                 << JsonQuote(PropertyText(colors[i].first)) << R"(, "color": ")"
                 << colors[i].second << R"("})" << (i + 1 < colors.size() ? ",\n" : "\n");
        }
        out_ << "  ]\n}\n";
    }

    void Set() {
        if (args_.from) {
            SetFromTheme(*args_.from);
            return;
        }
        std::vector<Rgb> colors;
        for (const std::string& text : args_.colors) {
            const std::optional<Rgb> color = ParseColorText(text);
            if (!color) {
                UsageError("bad colour " + Clipped(text), "use #RRGGBB, RRGGBB or R,G,B");
            }
            colors.push_back(*color);
        }
        std::vector<std::int16_t> properties(args_.properties.size());
        std::transform(args_.properties.begin(), args_.properties.end(), properties.begin(),
                       [](const std::string& text) { return ParseProperty(text); });
        for (std::size_t i = 0; i < properties.size(); ++i) {
            if (std::count(properties.begin(), properties.begin() + static_cast<std::ptrdiff_t>(i),
                           properties[i]) != 0) {
                UsageError("property " +
                           std::string(kPropertyTexts[static_cast<std::size_t>(properties[i])]) +
                           " given twice");
            }
        }
        const std::int16_t version = Version(true);
        std::vector<ColorPatch> patches;
        for (std::size_t i = 0; i < properties.size(); ++i) {
            const std::optional<ColorPatch> patch = PatchFor(version, properties[i], colors[i]);
            if (!patch) {
                Fail(std::string(kUnavailableText));
            }
            patches.push_back(*patch);
        }
        Write(patches);
    }

    // The colours of a file that get --json wrote (or of standard input, for "-"), applied by
    // property on the client's build: a property means the same on every build, so the build
    // the theme was saved on only stands in where the client's cannot be told.
    void SetFromTheme(const std::string& fileName) {
        const bool fromInput = fileName == "-";
        const std::string shownName = fromInput ? "standard input" : fileName;
        const Theme theme =
            ReadThemeFile(shownName, fromInput ? ThemeFromInput() : ThemeFromFile(fileName));
        const std::int16_t version = Version(true, theme.version);
        RefuseMissingProperties(shownName, theme, version);
        std::vector<ColorPatch> patches(theme.colors.size());
        std::transform(theme.colors.begin(), theme.colors.end(), patches.begin(),
                       [version](const ThemeColor& color) {
                           return *PatchFor(version, color.property, color.color);
                       });
        Write(patches);
    }

    // The bytes of a theme on standard input, no more than a theme may have.
    std::string ThemeFromInput() {
        std::string bytes(kMaxThemeBytes + 1, '\0');
        in_.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in_.gcount()));
        if (in_.bad()) {
            Fail("cannot read the theme from standard input");
        }
        if (bytes.size() > kMaxThemeBytes) {
            Fail("the theme on standard input is over " + std::to_string(kMaxThemeBytes) +
                 " bytes" + ThemeLimitText());
        }
        return bytes;
    }

    // The bytes of a theme file, refused by its size before anything is read.
    std::string ThemeFromFile(const std::string& fileName) {
        std::uint64_t size = 0;
        std::string bytes;
        try {
            const std::unique_ptr<ReadableFile> file = fs_.OpenRead(fileName);
            size = file->Size();
            if (size <= kMaxThemeBytes) {
                bytes = ReadBytesAt(*file, 0, kMaxThemeBytes + 1);  // one more: it may have grown
            }
        } catch (const RunError& e) {
            Fail("cannot read " + Clipped(fileName) + ": " + Reason(e, fs_, fileName));
        }
        if (size > kMaxThemeBytes) {
            Fail(Clipped(fileName) + " is " + std::to_string(size) + " bytes" + ThemeLimitText());
        }
        if (bytes.size() > kMaxThemeBytes) {
            Fail(Clipped(fileName) + " is over " + std::to_string(kMaxThemeBytes) + " bytes" +
                 ThemeLimitText());
        }
        return bytes;
    }

    // The backup, when asked for, is made under the target's lock from the bytes the patch
    // reads, and replaces the old one only once the target is rewritten.
    void Write(const std::vector<ColorPatch>& patches) {
        const std::string target = Target();
        BackupCopy backup;
        if (args_.backup) {
            RefuseTheTargetItself(*args_.backup, target);
            backup.path = *args_.backup;
        }
        try {
            PatchColors(fs_, target, patches, ColorFit::kWholeColour,
                        args_.backup ? &backup : nullptr);
        } catch (const FileTooShort& e) {
            Fail(Clipped(target) + " has " + std::to_string(e.size()) + " bytes, " +
                 std::to_string(e.needed()) + " are needed for the colours of this version" +
                 " (it is unchanged)");
        } catch (const RunError& e) {
            if (backup.fileChanged) {
                Fail("set the colours in " + Clipped(target) + ", but cannot replace the backup " +
                     Clipped(backup.path) + ": " + Reason(e, fs_, backup.path) +
                     " (it is as it was)");
            }
            if (backup.failed) {
                Fail("cannot make the backup " + Clipped(backup.path) + ": " +
                     Reason(e, fs_, backup.path) + " (nothing was changed)");
            }
            Fail("cannot rewrite " + Clipped(target) + ": " + Reason(e, fs_, target) +
                 " (it is unchanged)");
        }
        out_ << "set " << patches.size() << (patches.size() == 1 ? " colour" : " colours") << " in "
             << Clipped(target) << "\n";
    }

    void Restore() {
        const std::string target = Target();
        const std::string& backup = *args_.backup;
        RefuseTheTargetItself(backup, target);
        const auto sameSize = [&](std::uint64_t backupSize,
                                  const std::optional<FileIdentity>& current) {
            const std::uint64_t targetSize = current ? current->size : 0;
            if (backupSize != targetSize) {
                Fail(Clipped(backup) + " has " + std::to_string(backupSize) + " bytes and " +
                     Clipped(target) + " has " + std::to_string(targetSize) +
                     ": not a backup of it");
            }
        };
        try {
            CopyFileAtomically(fs_, backup, target, sameSize);
        } catch (const RunError& e) {
            if (e.cause() == ErrorCause::kDescribed) {
                throw;  // sameSize's refusal, whole as it is
            }
            Fail("cannot restore " + Clipped(target) + " from " + Clipped(backup) + ": " +
                 Reason(e, fs_, backup));
        }
        out_ << "restored " << Clipped(target) << " from " << Clipped(backup) << "\n";
    }

    // A backup path that names the target, in any spelling or through a link, would have the
    // target's bytes copied onto themselves: refused before anything is written.
    void RefuseTheTargetItself(const std::string& backup, const std::string& target) {
        bool same = false;
        try {
            const std::optional<FileIdentity> backupFile = fs_.Identify(backup);
            const std::optional<FileIdentity> targetFile = fs_.Identify(target);
            same = backupFile && targetFile && backupFile->SameFile(*targetFile);
        } catch (const RunError& e) {
            Fail("cannot look at " + Clipped(backup) + ": " + Reason(e));
        }
        if (same) {
            Fail("--backup " + Clipped(backup) + " is " + Clipped(target) +
                 " itself; name another file");
        }
    }

    const Arguments& args_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    FileSystem& fs_;
    bool outIsTerminal_;
    std::optional<ClientLocation> location_;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& fs) {
    return RunCli(args, BinaryStandardInput(), out, err, fs);
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, FileSystem& fs) {
    try {
        const Arguments parsed = ParseArguments(args);
        if (parsed.showVersion && !parsed.help) {
            out << "huevane-cli " << HUEVANE_VERSION << "\n";
            return 0;
        }
        if (parsed.help || !parsed.command) {
            (parsed.help ? out : err) << HelpText(parsed.command);
            return parsed.help ? 0 : kExitUsage;
        }
        RefuseEmptyNames(parsed);
        Session(parsed, in, out, err, fs).Run(*parsed.command);
        return 0;
    } catch (const RunError& e) {
        // Escaped once more, so that no message can ever span lines or reach the terminal raw.
        const bool usage = e.cause() == ErrorCause::kUsage;
        const bool hinted = dynamic_cast<const HintedUsageError*>(&e) != nullptr;
        err << "huevane-cli: " << Escaped(Reason(e)) << (usage && !hinted ? " (try --help)" : "")
            << "\n";
        return usage ? kExitUsage : kExitError;
    } catch (const std::exception& e) {
        err << "huevane-cli: " << Escaped(e.what()) << "\n";
        return kExitError;
    }
}

}  // namespace huevane::cli
