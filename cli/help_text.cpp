#include "cli/help_text.h"

#include <algorithm>
#include <string_view>

namespace huevane::cli {
namespace {

constexpr std::string_view kProgramHelpStart =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] COMMAND [OPTIONS]

Recolours the buddy list of AIM 5.x by rewriting colours in its buddyui.ocm.

Commands:
)";

constexpr std::string_view kProgramHelpEnd =
    R"(
Finding the client:
  --dir PATH    use this install directory
  --prefix DIR  read the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine)
  Give one of the two at most. On Windows the path comes from the registry. On
  Linux it comes from the prefix's user.reg: the default value of the key
    HKEY_CURRENT_USER\Software\America Online\
    AOL Instant Messenger (TM)\CurrentVersion\AppPath
  A running Wine writes registry changes to user.reg up to about 30 seconds
  late, so a client installed a moment ago may not be found yet.

Other options:
  --help        this text, or with a command, that command's options
  --version     print huevane-cli's own version

Run 'huevane-cli COMMAND --help' for a command's options.
Exit status: 0 done, 1 error (also a failed write of the output), 2 usage error.
Messages show control characters as escapes such as \n or \x1b, and bytes that
are not UTF-8 as \xNN, and quote at most 200 characters of any path or other
text they name; so do the paths that set and restore print. locate escapes its
path only for a terminal: to a pipe or a file it prints the path as it is.
)";

// Where the summaries start under "Commands:", as the option texts below them do.
constexpr std::size_t kSummaryColumn = 16;

}  // namespace

std::string HelpText(const std::optional<Command>& command) {
    if (command) {
        return std::string(EntryOf(*command).help);
    }
    std::string help(kProgramHelpStart);
    for (const CommandEntry& entry : CommandEntries()) {
        std::string line = "  " + std::string(entry.name);
        line.resize(std::max(kSummaryColumn, line.size() + 2), ' ');
        help += line + std::string(entry.summary) + "\n";
    }
    return help += kProgramHelpEnd;
}

}  // namespace huevane::cli
