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
            UsageError("set takes --from THEME or --property P --color C, not both");
        }
        return;
    }
    // The parser pairs each --color with its --property.
    if (args.properties.empty() && args.colors.empty()) {
        UsageError("set needs --property P --color C");
    }
}

void CheckRestoreRules(const Arguments& args) {
    if (!args.backup) {
        UsageError("restore needs --backup FILE");
    }
}

}  // namespace huevane::cli
