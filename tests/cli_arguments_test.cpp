// huevane-cli's command line and program help, as the command table makes them.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/help_text.h"
#include "core/run_error.h"

namespace huevane::cli {
namespace {

// The usage error the command line raises, or "" when it is accepted.
std::string UsageErrorOf(const std::vector<std::string>& args) {
    try {
        ParseArguments(args);
    } catch (const RunError& e) {
        EXPECT_EQ(e.cause(), ErrorCause::kUsage);
        return e.what();
    }
    return "";
}

TEST(CliArguments, RefusesValuesForOptionsThatTakeNone) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--json=no"}, "--json takes no value"},
        {{"versions", "--json="}, "--json takes no value"},
        {{"--version=1"}, "--version takes no value"},
        {{"get", "--help=x"}, "--help takes no value"},
        {{"restore", "--force=x"}, "--force takes no value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsageErrorOf(c.args), c.message);
    }
}

TEST(CliArguments, DoubleDashEndsTheOptions) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"get", "--", "--json"}, "unexpected argument --json"},
        {{"get", "--", "-h"}, "unexpected argument -h"},
        {{"--", "--help"}, "unknown command --help"},
        {{"--", "get", "--"}, "unexpected argument --"},
        {{"set", "--property", "1", "--", "--color", "2"}, "unexpected argument --color"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsageErrorOf(c.args), c.message);
    }
    // An option's value may be "--" itself, and the command may still follow the "--" that ends
    // the options.
    const Arguments parsed = ParseArguments({"--dir", "--", "--", "get"});
    EXPECT_EQ(parsed.dir, "--");
    EXPECT_EQ(parsed.command, Command::kGet);
}

TEST(CliArguments, EachCommandKeepsItsRules) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"restore"}, "restore needs --backup FILE"},
        {{"get", "--property", "1", "--property", "2"}, "get takes one --property at most"},
        {{"set", "--build", "3"}, "set needs --property P --color C"},
        {{"set", "--from", "-", "--color", "000000"},
         "set takes --from THEME or --property P --color C, not both"},
        {{"--dir", "a", "--prefix", "b", "locate"}, "give --dir PATH or --prefix DIR, not both"},
        {{"restore", "--help"}, ""},  // help asks for nothing more
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsageErrorOf(c.args), c.message);
    }
}

// Each --color is the colour of the --property before it, whatever other options come between.
TEST(CliArguments, PairsEachColorWithThePropertyBeforeIt) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string rule = "; set needs one --color for each --property";
    const std::vector<Case> cases = {
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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsageErrorOf(c.args), c.message);
    }
    const Arguments parsed = ParseArguments(
        {"set", "--property", "3", "--color", "1", "--property", "0", "--color", "2"});
    EXPECT_EQ(parsed.properties, (std::vector<std::string>{"3", "0"}));
    EXPECT_EQ(parsed.colors, (std::vector<std::string>{"1", "2"}));
}

TEST(CliHelpText, ListsEachCommandWithItsSummary) {
    const std::string commands = R"(
Commands:
  versions      the client builds Huevane knows, with their indices
  properties    the buddy-list colours that can be changed, with their indices
  locate        the client's install directory and where it came from
  detect        the client's build, read from its executable
  get           the colours stored now, as #RRGGBB
  set           write one or more colours, all in one safe replacement
  restore       put a backup copy back in place

Finding the client:
)";
    EXPECT_NE(HelpText(std::nullopt).find(commands), std::string::npos);
}

}  // namespace
}  // namespace huevane::cli
