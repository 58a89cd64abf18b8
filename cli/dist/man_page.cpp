#include "cli/dist/man_page.h"

#include <array>

#include "cli/command_table.h"

namespace huevane::cli {
namespace {

// The parts written for the page alone, in roff.

// Lines are left-aligned and words never hyphenated, so that no path or option breaks inside.
constexpr std::string_view kNameAndSynopsis = R"(.nh
.ad l
.SH NAME
huevane-cli \- recolour the buddy list of AIM 5.x
.SH SYNOPSIS
.B huevane-cli
[\fB\-\-dir\fR \fIPATH\fR | \fB\-\-prefix\fR \fIDIR\fR] \fICOMMAND\fR [\fIOPTIONS\fR]
.br
.B huevane-cli
\fICOMMAND\fR \fB\-\-help\fR
.br
.B huevane-cli
\fB\-\-help\fR | \fB\-\-version\fR
)";

// The registry path stays whole on a line of its own.
constexpr std::string_view kDescription = R"(.SH DESCRIPTION
.B huevane-cli
recolours the buddy list of AIM 5.x by rewriting colours in its
.IR buddyui.ocm :
it finds the client, tells its build from its executable, and reads or writes each colour at
that build's place in the file.
.B set
writes all its colours in one atomic replacement of the file: either all of them are written or
none is.
.PP
\fB\-\-dir\fR \fIPATH\fR names the install directory outright.
On Windows the path comes from the registry.
On Linux it comes from the default value of
.PP
.RS 4
.nf
HKEY_CURRENT_USER\eSoftware\eAmerica Online\eAOL Instant Messenger (TM)\eCurrentVersion\eAppPath
.fi
.RE
.PP
in the Wine prefix's
.I user.reg
(\fB\-\-prefix\fR \fIDIR\fR, else \fB$WINEPREFIX\fR, else \fI\(ti/.wine\fR), and the path is
followed through the prefix's
.IR dosdevices/ .
A running Wine writes registry changes to
.I user.reg
up to about 30 seconds late, so a client installed a moment ago may not be found yet.
.PP
Messages, and the paths that \fBlocate\fR, \fBset\fR and \fBrestore\fR print, show control
characters as escapes such as \fB\en\fR or \fB\ex1b\fR and bytes that are not UTF\-8 as
\fB\exNN\fR; a message quotes at most 200 characters of any path or other text it names.
)";

constexpr std::string_view kExitStatusAndEnvironment = R"(.SH "EXIT STATUS"
.TP
.B 0
Done.
.TP
.B 1
An error, told in one line on standard error; also when the output cannot be written.
.TP
.B 2
A usage error: a command line that is not well formed.
.SH ENVIRONMENT
.TP
.B WINEPREFIX
The Wine prefix to read when \fB\-\-prefix\fR is not given.
.TP
.B HOME
The home directory, which holds \fI.wine\fR, the prefix read when neither \fB\-\-prefix\fR nor
\fBWINEPREFIX\fR is given.
)";

constexpr std::string_view kFiles = R"(.SH FILES
.TP
.I PREFIX/user.reg
The registry of the prefix's user, which holds the client's \fBAppPath\fR.
.TP
.I PREFIX/dosdevices/
The links from drive letters to directories, through which the registered path is followed.
.TP
.I INSTALL_DIR/buddyui.ocm
The client's file of buddy-list colours.
\fBget\fR reads it; \fBset\fR and \fBrestore\fR write its new copy beside it as
\fI.buddyui.ocm.huevane\-new\-XXXXXX\fR, then put that copy in its place.
.TP
\fIFILE\fR of \fB\-\-backup\fR
The copy of \fIbuddyui.ocm\fR that \fBset\fR makes before it writes, and that \fBrestore\fR
puts back after checking that it has the length of the file it replaces.
)";

struct Example {
    std::string_view caption;  // roff
    std::string_view session;  // as typed and shown
};

constexpr std::array<Example, 3> kExamples = {{
    {"Find the client and tell its build:", R"($ huevane-cli locate
/home/me/.wine/dosdevices/c:/Program Files/AIM
(from /home/me/.wine/user.reg: C:\Program Files\AIM\aim.exe)
$ huevane-cli detect
build 5.1.3020: version 3 "5.1.3009 - 5.1.3036"
)"},
    {"Set two colours in one step, keeping a copy of the file, and put the copy back:",
     R"($ huevane-cli set --property "Buddy names" --color '#2F4C97' \
                  --property 0 --color 255,255,240 --backup ~/buddyui-before.ocm
$ huevane-cli restore --backup ~/buddyui-before.ocm
)"},
    {"Save the colours as a theme, and write them in another prefix:",
     R"($ huevane-cli get --json > ~/my-theme.json
$ huevane-cli --prefix ~/other-prefix set --from ~/my-theme.json
)"},
}};

constexpr std::string_view kSeeAlso = R"(.SH "SEE ALSO"
.BR wine (1)
)";

// Text as roff shows it character for character: no line read as a request, and backslashes,
// quotes and tildes as the ASCII characters, which a command copied from the page needs.
std::string Verbatim(std::string_view text) {
    std::string roff;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && c == '.') {
            roff += "\\&";
        }
        switch (c) {
            case '\\':
                roff += "\\e";
                break;
            case '\'':
                roff += "\\(aq";
                break;
            case '~':
                roff += "\\(ti";
                break;
            default:
                roff += c;
        }
        lineStart = c == '\n';
    }
    return roff;
}

// Text from the table for filled lines: also every "-" a minus, as option names need.
std::string Text(std::string_view text) {
    std::string roff;
    for (const char c : Verbatim(text)) {
        roff += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    return roff;
}

// Each command's summary, then its help; commands that share a help text show it once.
std::string Commands() {
    std::string roff = ".SH COMMANDS\n";
    const auto commands = CommandEntries();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        roff += ".SS " + std::string(commands[i].name) + "\n" + Text(commands[i].summary) + "\n";
        if (i + 1 == commands.size() || commands[i + 1].help != commands[i].help) {
            roff += ".PP\n.nf\n" + Verbatim(commands[i].help) + ".fi\n";
        }
    }
    return roff;
}

// The commands that take an option of OptionScope::kCommand: "get, set".
std::string CommandsTaking(const OptionEntry& option) {
    std::string names;
    for (const CommandEntry& command : CommandEntries()) {
        if (Takes(&command, option)) {
            names += (names.empty() ? "" : ", ") + std::string(command.name);
        }
    }
    return names;
}

std::string Examples() {
    std::string roff = ".SH EXAMPLES\n";
    for (const Example& example : kExamples) {
        roff += ".PP\n" + std::string(example.caption) + "\n.PP\n.RS 4\n.nf\n" +
                Verbatim(example.session) + ".fi\n.RE\n";
    }
    return roff;
}

std::string Options() {
    std::string roff = ".SH OPTIONS\n";
    for (const OptionEntry& option : OptionEntries()) {
        roff += ".TP\n";
        if (!option.shortName.empty()) {
            roff += "\\fB" + Text(option.shortName) + "\\fR, ";
        }
        roff += "\\fB" + Text(option.name) + "\\fR";
        if (option.TakesValue()) {
            roff += " \\fI" + Text(option.placeholder) + "\\fR";
        }
        roff += "\n" + Text(option.description) + "\n";
        if (option.scope == OptionScope::kCommand) {
            roff += "Taken by: " + CommandsTaking(option) + ".\n";
        }
    }
    return roff;
}

}  // namespace

std::string ManPage(std::string_view version, std::string_view date) {
    return ".\\\" huevane-cli(1), written by make_dist_files from huevane-cli's table of commands\n"
           ".\\\" and options.\n"
           ".TH HUEVANE-CLI \"1\" \"" +
           std::string(date) + "\" \"huevane-cli " + std::string(version) +
           "\" \"User Commands\"\n" + std::string(kNameAndSynopsis) + std::string(kDescription) +
           Commands() + Options() + std::string(kExitStatusAndEnvironment) + std::string(kFiles) +
           Examples() + std::string(kSeeAlso);
}

}  // namespace huevane::cli
