#include "cli/dist/man_page.h"

#include <algorithm>
#include <array>
#include <string>

#include "cli/command_table.h"
#include "core/catalogue.h"

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

// The registry path stays whole, on lines of its own.
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
\fB\-\-dir\fR \fIPATH\fR names the install directory outright, and is not given with
\fB\-\-prefix\fR.
On Windows the path comes from the registry.
On Linux it comes from the default value of
.PP
.RS 4
.nf
HKEY_CURRENT_USER\eSoftware\eAmerica Online\e
AOL Instant Messenger (TM)\eCurrentVersion\eAppPath
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
Messages show control characters as escapes such as \fB\en\fR or \fB\ex1b\fR, and bytes that
are not UTF\-8 as \fB\exNN\fR, and quote at most 200 characters of any path or other text
they name; so do the paths that \fBset\fR and \fBrestore\fR print.
\fBlocate\fR escapes its path only for a terminal: to a pipe or a file it prints the exact
path, as \fBls\fR(1) does, so that \fBdir=$(huevane\-cli locate)\fR gets it as it is.
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
.PP
Interrupted (SIGINT, SIGTERM, SIGHUP, or Ctrl+C on Windows) before the file was replaced,
huevane-cli removes its new files, says that it was interrupted and nothing was changed, and
ends as the signal ends it (130 for SIGINT in a shell). Interrupted after the file was
replaced, it finishes the run.
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

// One line of a --help text as a filled line of roff: without its indent, which would break the
// line.
std::string FilledLine(std::string_view line) {
    return Text(line.substr(std::min(line.find_first_not_of(' '), line.size()))) + "\n";
}

// The entry of a field list that a line of a --help text starts ("  name   what it is") as a
// tagged paragraph whose text starts where it does in the help; "" for a line that starts none.
std::string FieldEntry(std::string_view line) {
    if (!line.starts_with("  ") || line.starts_with("   ")) {
        return "";
    }
    const std::size_t nameEnd = line.find(' ', 2);
    const std::size_t textStart = line.find_first_not_of(' ', nameEnd);
    if (textStart == std::string_view::npos) {
        return "";
    }
    return ".TP " + std::to_string(textStart - 2) + "\n\\fB" + Text(line.substr(2, nameEnd - 2)) +
           "\\fR\n" + FilledLine(line.substr(textStart));
}

// A command's --help text, in the forms that CommandEntry::help tells: the synopsis line for
// line, the prose filled to the page's width, and each field list indented as tagged paragraphs
// with no space between them, as the help shows it.
std::string HelpAsRoff(std::string_view help) {
    const std::size_t synopsisEnd = help.find("\n\n") + 1;
    std::string roff = ".PP\n.nf\n" + Text(help.substr(0, synopsisEnd)) + ".fi\n";
    bool inList = false;
    bool paragraphStart = true;  // the next prose line starts a paragraph
    for (std::size_t start = synopsisEnd + 1; start < help.size();) {
        const std::size_t end = help.find('\n', start);
        const std::string_view line = help.substr(start, end - start);
        start = end + 1;
        if (const std::string entry = FieldEntry(line); !entry.empty()) {
            roff += (inList ? "" : ".RS 2\n.PD 0\n") + entry;
            inList = true;
        } else if (line.starts_with(' ')) {
            roff += FilledLine(line);
        } else if (line.empty()) {
            paragraphStart = true;
        } else {
            roff += (inList ? ".PD\n.RE\n" : "") +
                    std::string(paragraphStart || inList ? ".PP\n" : "") + FilledLine(line);
            inList = false;
            paragraphStart = false;
        }
    }
    return roff + (inList ? ".PD\n.RE\n" : "");
}

// Each command's summary, then its help; commands that share a help text show it once.
std::string Commands() {
    std::string roff = ".SH COMMANDS\n";
    const auto commands = CommandEntries();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        roff += ".SS " + std::string(commands[i].name) + "\n" + Text(commands[i].summary) + "\n";
        if (i + 1 == commands.size() || commands[i + 1].help != commands[i].help) {
            roff += HelpAsRoff(commands[i].help);
        }
    }
    return roff;
}

// The form of a theme, for those who write one by hand.
std::string ThemeFiles() {
    return R"(.SH "THEME FILES"
A theme for \fBset \-\-from\fR is what \fBget \-\-json\fR prints, or a file written by hand in
the same form: one JSON object with the fields below and no others, no field given twice in any
object, and nothing after its closing brace.
.TP
.B properties
A list of one or more objects, one for each colour to write, each naming a property that no
other names.
An object names its property by \fB"index"\fR, a number from 0 to )" +
           std::to_string(kPropertyTexts.size() - 1) +
           R"(, or by \fB"name"\fR, a text of the
property list that \fBhuevane\-cli properties\fR prints, in any letter case; when it gives both,
they name the same property.
It gives the colour as \fB"color"\fR: \fB"#RRGGBB"\fR, \fB"RRGGBB"\fR or \fB"R,G,B"\fR.
It has no other field.
.TP
.B build
Optional: the build the theme was saved on, as \fBget \-\-json\fR writes it,
\fB{"index": N, "text": "..."}\fR, or with one of the two fields; when both are given they name
the same build.
It is used only when \fB\-\-build\fR is not given and the client's build cannot be read from
its executable.
.PP
A theme is at most 64 KiB of UTF\-8 text, with or without a byte\-order mark, or of UTF\-16 text
with its byte\-order mark, which is what the \fB>\fR of Windows PowerShell 5 writes.
This theme sets two colours:
.PP
.RS 4
.nf
{"properties": [
  {"name": "Buddy names", "color": "#FF0000"},
  {"index": 0, "color": "0,0,64"}
]}
.fi
.RE
)";
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
           Commands() + Options() + ThemeFiles() + std::string(kExitStatusAndEnvironment) +
           std::string(kFiles) + Examples() + std::string(kSeeAlso);
}

}  // namespace huevane::cli
