#include "cli/help_text.h"

namespace huevane::cli {
namespace {

constexpr std::string_view kProgramHelp =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] COMMAND [OPTIONS]

Recolours the buddy list of AIM 5.x by rewriting colours in its buddyui.ocm.

Commands:
  versions      the client builds Huevane knows, with their indices
  properties    the buddy-list colours that can be changed, with their indices
  locate        the client's install directory and where it came from
  detect        the client's build, read from its executable
  get           the colours stored now, as #RRGGBB
  set           write one or more colours, all in one safe replacement
  restore       put a backup copy back in place

Finding the client:
  --dir PATH    use this install directory
  --prefix DIR  read the Wine prefix DIR (default: $WINEPREFIX, else ~/.wine)
  On Windows the path comes from the registry. On Linux it comes from the default
  value of HKEY_CURRENT_USER\Software\America Online\AOL Instant Messenger (TM)\CurrentVersion\
  AppPath in the prefix's user.reg. A running Wine writes registry changes to user.reg up to
  about 30 seconds late, so a client installed a moment ago may not be found yet.

Other options:
  --help        this text, or with a command, that command's options
  --version     print huevane-cli's own version

Run 'huevane-cli COMMAND --help' for a command's options.
Exit status: 0 done, 1 error (also when the output cannot be written), 2 usage error.
Messages, and the paths that locate, set and restore print, show control characters as
escapes such as \n or \x1b and bytes that are not UTF-8 as \xNN; a message quotes at most 200
characters of any path or other text it names.
)";

constexpr std::string_view kGetHelp =
    R"(Usage: huevane-cli get [--build B] [--property P] [--json] [--force]

Prints the colours stored in buddyui.ocm, as #RRGGBB: all properties of the build, or one.
B is an index or a text of the version list, or a build number such as 5.1.3020; without it
the build is read from the client's executable. A --build that disagrees with that build is
refused unless --force is given, as its colours sit at other places in the file. P is an index
or a property text (letter case does not matter).

--json prints one JSON object, one property to a line, that set --from takes back:
  build         the version list entry: {"index": N, "text": "..."}
  properties    a list of {"index": N, "name": "...", "color": "#RRGGBB"}
)";

constexpr std::string_view kSetHelp =
    R"(Usage: huevane-cli set [--build B] --property P --color C [--property P --color C ...]
                       [--backup FILE] [--force]
       huevane-cli set [--build B] --from THEME [--backup FILE] [--force]

Writes each colour C at property P, all in one atomic replacement of buddyui.ocm: all of them
or none. C is #RRGGBB, RRGGBB or R,G,B. With --backup, FILE first receives a copy of the file.
Without --build the build is read from the client's executable; a --build that disagrees
with that build is refused unless --force is given.

--from THEME writes the colours of a file that 'get --json' printed, in the same one step;
--from - reads it from standard input. The colours go to their properties on the client's
build (or --build's), whatever build the file was saved on; without either, the file's build
is used. A property that build lacks, an unknown field or property, a field given twice or a
bad colour is reported with its line and field, and nothing is written. A theme is UTF-8 or
UTF-16 with a byte-order mark, and at most 64 KiB.
)";

constexpr std::string_view kRestoreHelp =
    R"(Usage: huevane-cli restore --backup FILE

Puts FILE back as buddyui.ocm, with the same safe replacement, after checking that it has the
length of the file it replaces.
)";

constexpr std::string_view kListHelp =
    R"(Usage: huevane-cli versions | properties [--json]

Lists the client builds, or the buddy-list colours, with the indices that --build and
--property take.

--json prints one JSON object:
  versions      a list of {"index": N, "text": "..."}
  properties    a list of {"index": N, "name": "..."}
)";

constexpr std::string_view kLocateHelp =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] locate [--json]

Prints the client's install directory on standard output, and where that path came from on
standard error. Control characters in it are shown as escapes such as \n or \x1b, and bytes
that are not UTF-8 as \xNN; --json gives the exact path.

--json prints one JSON object on standard output instead:
  install_dir   the directory that holds buddyui.ocm
  executable    the registered client executable, or null when not known (with --dir)
  source        where the path came from: "--dir", or the registry or user.reg and its value
  The output is always valid UTF-8. A path that is not valid UTF-8 (possible on Linux) has each
  stray byte shown as U+FFFD, and then a field of the same name ending in _bytes follows, such
  as "install_dir_bytes", with the exact bytes of the path in lowercase hex. That field is there
  only for such a path.
)";

constexpr std::string_view kDetectHelp =
    R"(Usage: huevane-cli [--dir PATH | --prefix DIR] detect [--json]

Reads the build from the version resource of the registered client executable (with --dir,
of aim.exe in PATH, in any letter case) and prints the matching entry of the version list.

--json prints one JSON object:
  file_version  the executable's version, such as "5.1.3020"
  build         the version list entry: {"index": N, "text": "..."}
)";

}  // namespace

std::string_view HelpText(std::string_view command) {
    if (command == "get") {
        return kGetHelp;
    }
    if (command == "set") {
        return kSetHelp;
    }
    if (command == "restore") {
        return kRestoreHelp;
    }
    if (command == "versions" || command == "properties") {
        return kListHelp;
    }
    if (command == "locate") {
        return kLocateHelp;
    }
    if (command == "detect") {
        return kDetectHelp;
    }
    return kProgramHelp;
}

}  // namespace huevane::cli
