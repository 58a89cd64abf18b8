#include "cli/help_text.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace huevane::cli {
namespace {

constexpr std::string_view kProgramHelpStart =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] COMMAND [OPTIONS]

Recolours the buddy list of AIM 5.x by rewriting colours in its buddyui.ocm.

Commands:
)";

// What the program's help tells of finding the client, after the options for it.
constexpr std::string_view kHowTheClientIsFound =
    R"(  Give one of the two at most. On Windows the path comes from the registry. On
  Linux it comes from the prefix's user.reg: the default value of the key
    HKEY_CURRENT_USER\Software\America Online\
    AOL Instant Messenger (TM)\CurrentVersion\AppPath
  A running Wine writes registry changes to user.reg up to about 30 seconds
  late, so a client installed a moment ago may not be found yet.
)";

constexpr std::string_view kProgramHelpEnd =
    R"(
Run 'huevane-cli COMMAND --help' for a command's options.
Exit status: 0 done, 1 error (also a failed write of the output), 2 usage error.
Messages show control characters as escapes such as \n or \x1b, and bytes that
are not UTF-8 as \xNN, and quote at most 200 characters of any path or other
text they name; so do the paths that set and restore print. locate escapes its
path only for a terminal: to a pipe or a file it prints the path as it is.
)";

// Where the texts start after the names of the commands and options.
constexpr std::size_t kTextColumn = 16;

// A line of a list of the program's help: "  name          text".
std::string ListLine(const std::string& name, std::string_view text) {
    std::string line = "  " + name;
    line.resize(std::max(kTextColumn, line.size() + 2), ' ');
    return line + std::string(text) + "\n";
}

// The help line of each option of these scopes, in the table's order.
std::string OptionLines(std::initializer_list<OptionScope> scopes) {
    std::string lines;
    for (const OptionEntry& option : OptionEntries()) {
        if (std::find(scopes.begin(), scopes.end(), option.scope) != scopes.end()) {
            const std::string placeholder =
                option.TakesValue() ? " " + std::string(option.placeholder) : "";
            lines += ListLine(std::string(option.name) + placeholder, option.help);
        }
    }
    return lines;
}

}  // namespace

std::string HelpText(const std::optional<Command>& command) {
    if (command) {
        return std::string(EntryOf(*command).help);
    }
    std::string help(kProgramHelpStart);
    for (const CommandEntry& entry : CommandEntries()) {
        help += ListLine(std::string(entry.name), entry.summary);
    }
    using enum OptionScope;
    return help + "\nFinding the client:\n" + OptionLines({kFindingTheClient}) +
           std::string(kHowTheClientIsFound) + "\nOther options:\n" +
           OptionLines({kEverywhere, kProgram}) + std::string(kProgramHelpEnd);
}

}  // namespace huevane::cli
