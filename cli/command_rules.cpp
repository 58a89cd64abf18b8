#include "cli/command_rules.h"

#include "cli/arguments.h"
#include "cli/cli_error.h"

namespace huevane::cli {

void CheckGetRules(const Arguments& args) {
    if (args.properties.size() > 1) {
        UsageError("get takes one --property at most");
    }
}

void CheckSetRules(const Arguments& args) {
    if (args.from) {
        if (!args.properties.empty() || !args.colors.empty()) {
            UsageError("set takes --from FILE or --property P --color C, not both");
        }
        return;
    }
    if (args.properties.empty()) {
        UsageError("set needs --property P --color C");
    }
    if (args.properties.size() != args.colors.size()) {
        UsageError("set needs one --color for each --property");
    }
}

void CheckRestoreRules(const Arguments& args) {
    if (!args.backup) {
        UsageError("restore needs --backup FILE");
    }
}

}  // namespace huevane::cli
