#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <optional>
#include <string_view>

#include "core/ascii_case.h"
#include "cli/arguments.h"
#include "cli/cli_error.h"
#include "cli/client_location.h"
#include "cli/help_text.h"
#include "core/apply_command.h"
#include "core/catalogue.h"
#include "core/clipped_text.h"
#include "core/color_text.h"
#include "core/encoders.h"
#include "core/file_ops.h"
#include "core/patch_writer.h"
#include "core/pe_version.h"
#include "core/run_error.h"

namespace huevane::cli {
namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// An index into list, or the index of the entry whose text matches; nullopt for neither.
template <typename List>
std::optional<std::int16_t> IndexIn(const List& list, std::string_view text) {
    if (AllDigits(text) && text.size() <= 2) {
        const int index = std::stoi(std::string(text));
        if (index < static_cast<int>(list.size())) {
            return static_cast<std::int16_t>(index);
        }
        return std::nullopt;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (EqualsIgnoringCase(list[i], text)) {
            return static_cast<std::int16_t>(i);
        }
    }
    return std::nullopt;
}

// "5.1.3020" as major, minor, build.
std::optional<std::array<unsigned, 3>> ParseBuildText(std::string_view text) {
    std::array<unsigned, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.');
        const std::string_view part = text.substr(0, dot);
        if (!AllDigits(part) || part.size() > 5 ||
            (i + 1 < parts.size()) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        parts[i] = static_cast<unsigned>(std::stoul(std::string(part)));
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return parts;
}

// Why a file step failed, in words a user can act on.
std::string Reason(const RunError& e) {
    switch (e.number()) {
        case ErrorNumber::kFileAlreadyOpen:
            return "another program is writing it (File already open)";
        case ErrorNumber::kPathFileAccess:
            return "not a regular file (Path/File access error)";
        default:
            return e.what();
    }
}

std::string BuildText(unsigned major, unsigned minor, unsigned build) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
}

std::int16_t ParseVersion(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kVersionTexts, text)) {
        return *index;
    }
    if (const auto build = ParseBuildText(text)) {
        if (const auto version = VersionForBuild((*build)[0], (*build)[1], (*build)[2])) {
            return *version;
        }
        Fail("build " + Clipped(text) + " is in none of the known version ranges");
    }
    UsageError("unknown version " + Clipped(text) + " (see 'huevane-cli versions')");
}

std::int16_t ParseProperty(std::string_view text) {
    if (const std::optional<std::int16_t> index = IndexIn(kPropertyTexts, text)) {
        return *index;
    }
    UsageError("unknown property " + Clipped(text) + " (see 'huevane-cli properties')");
}

// The client's version list entry, read from its executable, or why it cannot be told.
struct Detection {
    std::optional<std::int16_t> version;
    std::string build;
    std::string problem;
};

Detection DetectVersion(const ClientLocation& location, FileSystem& fs) {
    if (location.executable.empty()) {
        return {std::nullopt, "",
                "the client's executable is not known (with --dir, or not found)"};
    }
    std::string image;
    try {
        image = ReadWholeFile(fs, location.executable);
    } catch (const RunError& e) {
        return {std::nullopt, "", "cannot read " + Clipped(location.executable) + ": " + Reason(e)};
    }
    const auto bytes =
        std::span(reinterpret_cast<const unsigned char*>(image.data()), image.size());
    const std::optional<pe::FileVersion> version = pe::ReadFileVersion(bytes);
    if (!version) {
        return {std::nullopt, "", "no version resource in " + Clipped(location.executable)};
    }
    const std::string build = BuildText(version->major, version->minor, version->build);
    const std::optional<std::int16_t> index =
        VersionForBuild(version->major, version->minor, version->build);
    if (!index) {
        return {std::nullopt, build, "build " + build + " is in none of the known version ranges"};
    }
    return {index, build, ""};
}

class Session {
public:
    Session(const Arguments& args, std::ostream& out, std::ostream& err, FileSystem& fs)
        : args_(args), out_(out), err_(err), fs_(fs) {}

    void Run() {
        const std::string& command = args_.command;
        if (command == "versions") {
            ListEntries(kVersionTexts);
        } else if (command == "properties") {
            ListEntries(kPropertyTexts);
        } else if (command == "locate") {
            const ClientLocation& location = Location();
            // Only the directory on standard output, for dir=$(huevane-cli locate).
            out_ << location.installDir << "\n";
            err_ << "(from " << location.source << ")\n";
        } else if (command == "detect") {
            Detect();
        } else if (command == "get") {
            Get();
        } else if (command == "set") {
            Set();
        } else if (command == "restore") {
            Restore();
        }
    }

private:
    template <typename List>
    void ListEntries(const List& list) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            out_ << (i < 10 ? " " : "") << i << "  " << list[i] << "\n";
        }
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
        } catch (const RunError&) {
            Fail("no buddyui.ocm in " + Clipped(dir));
        }
    }

    void Detect() {
        const Detection detection = DetectVersion(Location(), fs_);
        if (!detection.version) {
            Fail(detection.problem);
        }
        out_ << "build " << detection.build << ": version " << *detection.version << " \""
             << kVersionTexts[static_cast<std::size_t>(*detection.version)] << "\"\n";
    }

    // --version when given (checked against the detected build when writing), else the build.
    std::int16_t Version(bool writing) {
        if (!args_.version) {
            const Detection detection = DetectVersion(Location(), fs_);
            if (!detection.version) {
                Fail("cannot tell the client's version (" + detection.problem +
                     "); give --version");
            }
            return *detection.version;
        }
        const std::int16_t version = ParseVersion(*args_.version);
        if (writing && !args_.force) {
            const Detection detection = DetectVersion(Location(), fs_);
            if (detection.version && *detection.version != version) {
                Fail("--version " + Clipped(*args_.version) +
                     " disagrees with the client's build " + detection.build +
                     "; add --force to write anyway");
            }
        }
        return version;
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
        try {
            const std::unique_ptr<ReadableFile> file = fs_.OpenRead(target);
            for (const std::int16_t property : properties) {
                const std::string_view name = kPropertyTexts[static_cast<std::size_t>(property)];
                if (!IsAvailable(version, property)) {
                    continue;  // this build has no such colour
                }
                const auto offset = static_cast<std::uint64_t>(
                    modColors::HexToSpot(LookupOffset(version, property)) - 1);
                const std::string bytes = ReadBytesAt(*file, offset, 3);
                if (bytes.size() < 3) {
                    Fail(Clipped(target) + " is too short to hold " + std::string(name) +
                         ": it has " + std::to_string(file->Size()) + " bytes, " +
                         std::to_string(offset + 3) + " are needed");
                }
                out_ << name << ": " << FormatColorBytes(bytes) << "\n";
            }
        } catch (const RunError& e) {
            Fail("cannot read " + Clipped(target) + ": " + Reason(e));
        }
    }

    void Set() {
        std::vector<std::int32_t> colors;
        for (const std::string& text : args_.colors) {
            const std::optional<std::int32_t> color = ParseColorText(text);
            if (!color) {
                UsageError("bad colour " + Clipped(text) + " (use #RRGGBB, RRGGBB or R,G,B)");
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
            if (!IsAvailable(version, properties[i])) {
                Fail(std::string(kUnavailableText));
            }
            patches.push_back({modColors::ColorToStr(colors[i]),
                               modColors::HexToSpot(LookupOffset(version, properties[i]))});
        }
        const std::string target = Target();
        if (args_.backup) {
            RefuseTheTargetItself(*args_.backup, target);
            try {
                CopyFileAtomically(fs_, target, *args_.backup);
            } catch (const RunError& e) {
                Fail("cannot make the backup " + Clipped(*args_.backup) + ": " + Reason(e));
            }
        }
        try {
            PatchColors(fs_, target, patches, ColorFit::kWholeColour);
        } catch (const FileTooShort& e) {
            Fail(Clipped(target) + " has " + std::to_string(e.size()) + " bytes, " +
                 std::to_string(e.needed()) + " are needed for the colours of this version" +
                 " (it is unchanged)");
        } catch (const RunError& e) {
            Fail("cannot rewrite " + Clipped(target) + ": " + Reason(e) + " (it is unchanged)");
        }
        out_ << "set " << patches.size() << (patches.size() == 1 ? " colour" : " colours") << " in "
             << target << "\n";
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
            Fail("cannot restore " + Clipped(target) + " from " + Clipped(backup) + ": " +
                 Reason(e));
        }
        out_ << "restored " << target << " from " << backup << "\n";
    }

    // A backup path that names the target, in any spelling or through a link, would have the
    // target's bytes copied onto themselves: refused before anything is written.
    void RefuseTheTargetItself(const std::string& backup, const std::string& target) {
        try {
            const std::optional<FileIdentity> backupFile = fs_.Identify(backup);
            const std::optional<FileIdentity> targetFile = fs_.Identify(target);
            if (backupFile && targetFile && backupFile->SameFile(*targetFile)) {
                Fail("--backup " + Clipped(backup) + " is " + Clipped(target) +
                     " itself; name another file");
            }
        } catch (const RunError& e) {
            Fail("cannot look at " + Clipped(backup) + ": " + Reason(e));
        }
    }

    const Arguments& args_;
    std::ostream& out_;
    std::ostream& err_;
    FileSystem& fs_;
    std::optional<ClientLocation> location_;
};

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& fs) {
    try {
        const Arguments parsed = ParseArguments(args);
        if (parsed.help || parsed.command.empty()) {
            (parsed.help ? out : err) << HelpText(parsed.command);
            return parsed.help ? 0 : kExitUsage;
        }
        Session(parsed, out, err, fs).Run();
        return 0;
    } catch (const CliError& e) {
        err << "huevane-cli: " << e.what();
        if (e.exitStatus() == kExitUsage) {
            err << " (try --help)";
        }
        err << "\n";
        return e.exitStatus();
    } catch (const std::exception& e) {
        err << "huevane-cli: " << e.what() << "\n";
        return kExitError;
    }
}

}  // namespace huevane::cli
