#include "cli/run_cli.h"

#include "cli/arguments.h"
#include "cli/cli_error.h"
#include "cli/command_values.h"
#include "cli/commands/commands.h"
#include "cli/error_messages.h"
#include "cli/help_text.h"
#include "cli/standard_input.h"
#include "cli/standard_stream.h"
#include "huevane_version.h"

namespace huevane::cli {
namespace {

void RunCommand(Command command, const CommandContext& context) {
    switch (command) {
        case Command::kVersions:
            ListVersions(context);
            return;
        case Command::kProperties:
            ListProperties(context);
            return;
        case Command::kLocate:
            Locate(context);
            return;
        case Command::kDetect:
            Detect(context);
            return;
        case Command::kGet:
            Get(context);
            return;
        case Command::kSet:
            Set(context);
            return;
        case Command::kRestore:
            Restore(context);
            return;
    }
}

// The run of a command line; raises RunError for what stops it.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, FileSystem& fs) {
    const Arguments parsed = ParseArguments(args);
    if (parsed.showVersion && !parsed.help) {
        out << "huevane-cli " << HUEVANE_VERSION << "\n";
        return 0;
    }
    if (parsed.help || !parsed.command) {
        (parsed.help ? out : err) << HelpText(parsed.command);
        return parsed.help ? 0 : kExitUsage;
    }
    RefuseEmptyValues(parsed);
    RunCommand(*parsed.command, {parsed, in, out, err, fs, IsTerminal(out)});
    return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& fs) {
    return RunCli(args, BinaryStandardInput(), out, err, fs);
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, FileSystem& fs) {
    try {
        return Run(args, in, out, err, fs);
    } catch (const RunError& e) {
        err << ErrorLine(e);
        return e.cause() == ErrorCause::kUsage ? kExitUsage : kExitError;
    } catch (const std::exception& e) {
        err << ErrorLine(e);
        return kExitError;
    }
}

}  // namespace huevane::cli
