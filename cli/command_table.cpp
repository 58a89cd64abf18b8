#include "cli/command_table.h"

#include <algorithm>
#include <array>

#include "cli/arguments.h"
#include "cli/command_rules.h"

namespace huevane::cli {
namespace {

// The --help texts of the commands, in the forms that CommandEntry::help tells.

constexpr std::string_view kListHelp =
    R"(Usage: huevane-cli versions | properties [--json]

Lists the client builds, or the buddy-list colours, with the indices that
--build and --property take.

--json prints one JSON object:
  versions      a list of {"index": N, "text": "..."}
  properties    a list of {"index": N, "name": "..."}
)";

constexpr std::string_view kLocateHelp =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] locate [--json]

Prints the client's install directory on standard output, and where that path
came from on standard error. To a pipe or a file the path is printed exactly,
as ls does, so that dir=$(huevane-cli locate) gets it as it is; to a terminal,
control characters in it are shown as escapes such as \n or \x1b, and bytes
that are not UTF-8 as \xNN. What goes to standard error is always escaped, and
one line.

--json prints one JSON object on standard output instead:
  install_dir   the directory that holds buddyui.ocm
  executable    the registered client executable, or null when not known
                (with --dir)
  source        where the path came from: "--dir", or the registry or
                user.reg and its value

The JSON is always valid UTF-8. A path that is not valid UTF-8 (possible on
Linux) has each stray byte shown as U+FFFD, and then a field of the same name
ending in _bytes follows, such as "install_dir_bytes", with the exact bytes of
the path in lowercase hex. That field is there only for such a path.
)";

constexpr std::string_view kDetectHelp =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] detect [--json]

Reads the build from the version resource of the registered client executable
(with --dir, of aim.exe in PATH, in any letter case) and prints the matching
entry of the version list.

--json prints one JSON object:
  file_version  the executable's version, such as "5.1.3020"
  build         the version list entry: {"index": N, "text": "..."}
)";

constexpr std::string_view kGetHelp =
    R"(Usage: huevane-cli get [--build B] [--property P] [--json] [--force]

Prints the colours stored in buddyui.ocm, as #RRGGBB: all properties of the
build, or one. B is an index or a text of the version list, or a build number
such as 5.1.3020; without it the build is read from the client's executable. A
--build that disagrees with that build is refused unless --force is given, as
its colours sit at other places in the file. P is an index or a property text
(letter case does not matter).

--json prints one JSON object, one property to a line, that set --from takes
back:
  build         the version list entry: {"index": N, "text": "..."}
  properties    a list of {"index": N, "name": "...", "color": "#RRGGBB"}
)";

constexpr std::string_view kSetHelp =
    R"(Usage: huevane-cli set [--build B] --property P --color C
           [--property P --color C ...] [--backup FILE] [--force]
       huevane-cli set [--build B] --from THEME
           [--backup FILE] [--force]

Writes each colour C at the property P before it, all in one atomic replacement
of buddyui.ocm: all of them or none. Each --property has one --color after it,
before the next --property. C is #RRGGBB, RRGGBB or R,G,B. With --backup, FILE
becomes the file as it was just before, read under its lock; a set that fails
or is refused leaves FILE as it was. Without --build the build is read from the
client's executable; a --build that disagrees with that build is refused unless
--force is given.

--from THEME writes the colours of a theme in the same one step, read from
standard input when THEME is -. A theme is what 'get --json' printed, or a JSON
object written by hand whose "properties" list holds objects such as
{"name": "Buddy names", "color": "#FF0000"} or {"index": 0, "color": "0,0,64"}
(THEME FILES in huevane-cli(1) tells the whole form). The colours go to their
properties on the client's build (or --build's), whatever build the theme was
saved on; only when neither can be told is the theme's "build" used. A property
that build lacks, an unknown field or property, a field given twice or a bad
colour is reported with its line and field, and nothing is written. A theme is
UTF-8, or UTF-16 with a byte-order mark, and at most 64 KiB.
)";

constexpr std::string_view kRestoreHelp =
    R"(Usage: huevane-cli restore --backup FILE

Puts FILE back as buddyui.ocm, with the same safe replacement, after checking
that it has the length of the file it replaces.
)";

using enum OptionScope;
using enum ValueCompletion;

// Each option: its name and short name, its value's placeholder, what its value must be, the
// field of Arguments it stores into, its scope, what the completion offers for its value, its line
// in the program's
// --help, and its text in the man page.
constexpr auto kOptions = std::to_array<OptionEntry>({
    {"--dir", "", "PATH", "a directory, not an empty name", &Arguments::dir, kFindingTheClient,
     kDirectories, "use this install directory",
     "Use the client installed in PATH, the directory that holds buddyui.ocm, instead of looking "
     "for it. Not together with --prefix."},
    {"--prefix", "", "DIR", "a directory, not an empty name", &Arguments::prefix, kFindingTheClient,
     kDirectories, "read the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine)",
     "Look for the client in the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine)."},
    {"--help", "-h", "", "", &Arguments::help, kEverywhere, kNothing,
     "this text, or with a command, that command's options",
     "Print the program's help, or with a command, that command's, and do nothing else."},
    {"--version", "", "", "", &Arguments::showVersion, kProgram, kNothing,
     "print huevane-cli's own version", "Print huevane-cli's own version."},
    {"--build", "", "B", "a build, not an empty one", &Arguments::build, kCommand, kVersions, "",
     "The client's build: an index or a text of the version list, or a build number such as "
     "5.1.3020. Without it the build is read from the client's executable."},
    {"--property", "", "P", "a property, not an empty one", &Arguments::properties, kCommand,
     kProperties, "",
     "A colour of the buddy list: an index or a text of the property list, in any letter case; "
     "set takes several, each followed by its --color."},
    {"--color", "", "C", "a colour, not an empty one", &Arguments::colors, kCommand, kNothing, "",
     "The colour for the --property before it: #RRGGBB, RRGGBB or R,G,B. Each --property of set "
     "has one, after it and before the next --property."},
    {"--from", "", "THEME", "a file name (or - for standard input), not an empty one",
     &Arguments::from, kCommand, kFiles, "",
     "A theme: a file that 'get --json' printed or one written as THEME FILES tells, or - for "
     "standard input."},
    {"--backup", "", "FILE", "a file name, not an empty one", &Arguments::backup, kCommand, kFiles,
     "",
     "For set, where buddyui.ocm as it was goes once it is rewritten; for restore, the copy "
     "to put back."},
    {"--force", "", "", "", &Arguments::force, kCommand, kNothing, "",
     "Read or write even when --build disagrees with the build of the client's executable."},
    {"--json", "", "", "", &Arguments::json, kCommand, kNothing, "",
     "Print one JSON object; each command's help lists its fields."},
});

constexpr const OptionEntry* OptionNamed(std::string_view nameOrShortName) {
    const auto* found =
        std::find_if(kOptions.begin(), kOptions.end(), [&](const OptionEntry& entry) {
            return entry.name == nameOrShortName ||
                   (!entry.shortName.empty() && entry.shortName == nameOrShortName);
        });
    return found == kOptions.end() ? nullptr : found;
}

// The option of this name, for the lists of the options each command takes: a name that no
// option has does not compile.
consteval const OptionEntry* Named(std::string_view name) {
    if (const OptionEntry* option = OptionNamed(name); option != nullptr) {
        return option;
    }
    throw "no option of that name";
}

constexpr std::array kJsonOnly = {Named("--json")};
constexpr std::array kGetOptions = {Named("--build"), Named("--property"), Named("--json"),
                                    Named("--force")};
constexpr std::array kSetOptions = {Named("--build"), Named("--property"), Named("--color"),
                                    Named("--from"),  Named("--backup"),   Named("--force")};
constexpr std::array kRestoreOptions = {Named("--backup")};

constexpr auto kCommands = std::to_array<CommandEntry>({
    {Command::kVersions, "versions", "the client builds Huevane knows, with their indices",
     kJsonOnly, kListHelp, nullptr},
    {Command::kProperties, "properties",
     "the buddy-list colours that can be changed, with their indices", kJsonOnly, kListHelp,
     nullptr},
    {Command::kLocate, "locate", "the client's install directory and where it came from", kJsonOnly,
     kLocateHelp, nullptr},
    {Command::kDetect, "detect", "the client's build, read from its executable", kJsonOnly,
     kDetectHelp, nullptr},
    {Command::kGet, "get", "the colours stored now, as #RRGGBB", kGetOptions, kGetHelp,
     CheckGetRules},
    {Command::kSet, "set", "write one or more colours, all in one safe replacement", kSetOptions,
     kSetHelp, CheckSetRules},
    {Command::kRestore, "restore", "put a backup copy back in place", kRestoreOptions, kRestoreHelp,
     CheckRestoreRules},
});

// EntryOf finds a command at its enumerator's place.
constexpr bool InEnumeratorOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        if (static_cast<std::size_t>(kCommands[i].command) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumeratorOrder());

// A flag stores true, so it has no placeholder; an option that takes a value has one, and says
// what that value must be. The
// program's help gives a line to each option that any command line takes.
constexpr bool OptionFieldsAgree() {
    return std::all_of(kOptions.begin(), kOptions.end(), [](const OptionEntry& option) {
        return option.TakesValue() != std::holds_alternative<FlagField>(option.target) &&
               option.TakesValue() != option.needs.empty() &&
               option.help.empty() == (option.scope == kCommand);
    });
}
static_assert(OptionFieldsAgree());

// The synopsis of a command's help is written by hand, and names each option the command takes.
constexpr bool SynopsesNameTheirOptions() {
    return std::all_of(kCommands.begin(), kCommands.end(), [](const CommandEntry& command) {
        const std::string_view synopsis = command.help.substr(0, command.help.find("\n\n"));
        return std::all_of(command.options.begin(), command.options.end(),
                           [&](const OptionEntry* option) {
                               return synopsis.find(option->name) != std::string_view::npos;
                           });
    });
}
static_assert(SynopsesNameTheirOptions());

}  // namespace

std::span<const CommandEntry> CommandEntries() {
    return kCommands;
}

std::span<const OptionEntry> OptionEntries() {
    return kOptions;
}

const CommandEntry& EntryOf(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

const CommandEntry* FindCommand(std::string_view name) {
    const auto* found = std::find_if(kCommands.begin(), kCommands.end(),
                                     [&](const CommandEntry& entry) { return entry.name == name; });
    return found == kCommands.end() ? nullptr : found;
}

const OptionEntry* FindOption(std::string_view nameOrShortName) {
    return OptionNamed(nameOrShortName);
}

bool Takes(const CommandEntry* command, const OptionEntry& option) {
    if (option.scope != OptionScope::kCommand) {
        return true;
    }
    return command != nullptr && std::find(command->options.begin(), command->options.end(),
                                           &option) != command->options.end();
}

}  // namespace huevane::cli
