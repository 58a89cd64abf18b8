// huevane-cli's command line: "--" and options that take no value, read by the parser itself.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace huevane::cli
