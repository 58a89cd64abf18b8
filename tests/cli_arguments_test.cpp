// huevane-cli's command line and program help, as the command table makes them.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/help_text.h"
#include "core/run_error.h"

namespace huevane::cli {
namespace {

struct Case {
    std::vector<std::string> args;
    std::string message;  // the usage error it raises, or "" for one that is accepted
};

void ExpectUsageErrors(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::string message;
        try {
            ParseArguments(c.args);
        } catch (const RunError& e) {
            EXPECT_EQ(e.cause(), ErrorCause::kUsage);
            message = e.what();
        }
        EXPECT_EQ(message, c.message);
    }
}

TEST(CliArguments, RefusesValuesForOptionsThatTakeNone) {
    ExpectUsageErrors({
        {{"--json=no"}, "--json takes no value"},
        {{"versions", "--json="}, "--json takes no value"},
        {{"--version=1"}, "--version takes no value"},
        {{"get", "--help=x"}, "--help takes no value"},
        {{"restore", "--force=x"}, "--force takes no value"},
    });
}

TEST(CliArguments, DoubleDashEndsTheOptions) {
    ExpectUsageErrors({
        {{"get", "--", "--json"}, "unexpected argument --json"},
        {{"get", "--", "-h"}, "unexpected argument -h"},
        {{"--", "--help"}, "unknown command --help"},
        {{"--", "get", "--"}, "unexpected argument --"},
        {{"set", "--property", "1", "--", "--color", "2"}, "unexpected argument --color"},
    });
    // An option's value may be "--" itself, and the command may still follow the "--" that ends
    // the options.
    const Arguments parsed = ParseArguments({"--dir", "--", "--", "get"});
    EXPECT_EQ(parsed.dir, "--");
    EXPECT_EQ(parsed.command, Command::kGet);
}

TEST(CliArguments, EachCommandKeepsItsRules) {
    ExpectUsageErrors({
        {{"restore"}, "restore needs --backup FILE"},
        {{"get", "--property", "1", "--property", "2"}, "get takes one --property at most"},
        {{"set", "--build", "3"}, "set needs --property P --color C"},
        {{"set", "--from", "-", "--color", "000000"},
         "set takes --from THEME or --property P --color C, not both"},
        {{"--dir", "a", "--prefix", "b", "locate"}, "give --dir PATH or --prefix DIR, not both"},
        {{"restore", "--help"}, ""},  // help asks for nothing more
    });
}

// Each --color is the colour of the --property before it, whatever other options come between.
TEST(CliArguments, PairsEachColorWithThePropertyBeforeIt) {
    const std::string rule = "; set needs one --color for each --property";
    ExpectUsageErrors({
        {{"set", "--property", "3", "--color", "1", "--property", "0", "--color", "2"}, ""},
        {{"set", "--property", "3", "--build", "3", "--color", "1"}, ""},
        {{"get", "--property", "3"}, ""},
        {{"set", "--property", "3", "--color", "1", "--color", "2", "--property", "0"},
         "--property 3 has two colours, 1 and 2" + rule},
        {{"set", "--color", "1", "--property", "3"},
         "--color 1 has no --property before it" + rule},
        {{"set", "--property", "3", "--property", "0", "--color", "2"},
         "--property 3 has no --color after it" + rule},
        {{"set", "--property", "3", "--color", "1", "--property", "0"},
         "--property 0 has no --color after it" + rule},
    });
    const Arguments parsed = ParseArguments(
        {"set", "--property", "3", "--color", "1", "--property", "0", "--color", "2"});
    EXPECT_EQ(parsed.properties, (std::vector<std::string>{"3", "0"}));
    EXPECT_EQ(parsed.colors, (std::vector<std::string>{"1", "2"}));
}

// The commands' and options' lines, with the placeholders of the options that take values.
TEST(CliHelpText, ListsEachCommandAndOptionWithItsText) {
    const std::string help = HelpText(std::nullopt);
    EXPECT_NE(help.find(R"(
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
)"),
              std::string::npos);
    EXPECT_NE(help.find(R"(
Other options:
  --help        this text, or with a command, that command's options
  --version     print huevane-cli's own version

)"),
              std::string::npos);
}

}  // namespace
}  // namespace huevane::cli
