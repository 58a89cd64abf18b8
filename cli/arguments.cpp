#include "cli/arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/formats/clipped_text.h"

namespace huevane::cli {
namespace {

struct CommandOptions {
    std::string_view command;
    std::string_view options;  // the options it takes besides --dir, --prefix and --help
};

constexpr std::array<CommandOptions, 7> kCommands = {{
    {"versions", "--json"},
    {"properties", "--json"},
    {"locate", "--json"},
    {"detect", "--json"},
    {"get", "--build --property --json --force"},
    {"set", "--build --property --color --from --backup --force"},
    {"restore", "--backup"},
}};

bool Takes(std::string_view command, std::string_view option) {
    const auto* entry = std::find_if(kCommands.begin(), kCommands.end(),
                                     [&](const CommandOptions& c) { return c.command == command; });
    if (entry == kCommands.end()) {
        return false;
    }
    std::string_view options = entry->options;
    while (!options.empty()) {
        const std::size_t space = options.find(' ');
        if (options.substr(0, space) == option) {
            return true;
        }
        options.remove_prefix(space == std::string_view::npos ? options.size() : space + 1);
    }
    return false;
}

bool IsCommand(std::string_view word) {
    return std::any_of(kCommands.begin(), kCommands.end(),
                       [&](const CommandOptions& c) { return c.command == word; });
}

void SetOnce(std::optional<std::string>& slot, std::string_view option, const std::string& value) {
    if (slot) {
        UsageError(std::string(option) + " given twice");
    }
    slot = value;
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = option.find('=');
            option.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = option.substr(equals + 1);
            option.resize(equals);
        }
        const auto value = [&]() -> std::string {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= args.size()) {
                UsageError(Clipped(option) + " needs a value");
            }
            return args[++i];
        };
        if ((option == "--help" || option == "--force") && inlineValue) {
            UsageError(option + " takes no value");
        }
        if (option == "--help" || option == "-h") {
            parsed.help = true;
        } else if (option == "--version") {
            parsed.showVersion = true;
        } else if (option == "--dir") {
            SetOnce(parsed.dir, option, value());
        } else if (option == "--prefix") {
            SetOnce(parsed.prefix, option, value());
        } else if (option.rfind("--", 0) == 0) {
            if (parsed.command.empty() || !Takes(parsed.command, option)) {
                UsageError("unknown option " + Clipped(option) +
                           (parsed.command.empty() ? "" : " for " + parsed.command));
            }
            if (option == "--build") {
                SetOnce(parsed.build, option, value());
            } else if (option == "--from") {
                SetOnce(parsed.from, option, value());
            } else if (option == "--backup") {
                SetOnce(parsed.backup, option, value());
            } else if (option == "--property") {
                parsed.properties.push_back(value());
            } else if (option == "--color") {
                parsed.colors.push_back(value());
            } else if (option == "--force") {
                parsed.force = true;
            } else if (option == "--json") {
                parsed.json = true;
            }
        } else if (parsed.command.empty() && IsCommand(option)) {
            parsed.command = option;
        } else {
            UsageError(parsed.command.empty() ? "unknown command " + Clipped(option)
                                              : "unexpected argument " + Clipped(option));
        }
    }
    if (parsed.help || parsed.showVersion) {
        return parsed;
    }
    if (parsed.command == "set" && parsed.from) {
        if (!parsed.properties.empty() || !parsed.colors.empty()) {
            UsageError("set takes --from FILE or --property P --color C, not both");
        }
    } else if (parsed.command == "set") {
        if (parsed.properties.empty()) {
            UsageError("set needs --property P --color C");
        }
        if (parsed.properties.size() != parsed.colors.size()) {
            UsageError("set needs one --color for each --property");
        }
    }
    if (parsed.command == "get" && parsed.properties.size() > 1) {
        UsageError("get takes one --property at most");
    }
    if (parsed.command == "restore" && !parsed.backup) {
        UsageError("restore needs --backup FILE");
    }
    return parsed;
}

}  // namespace huevane::cli
