#include "cli/dist/bash_completion.h"

#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command_table.h"
#include "core/catalogue.h"

namespace huevane::cli {
namespace {

// The script, with @NAME@ where the table's commands and options go.
constexpr std::string_view kTemplate =
    R"(# bash completion for huevane-cli, written by make_dist_files from huevane-cli's table of
# commands and options.

# Offers each text that starts with the word typed so far, in any letter case, as one word.
_huevane_cli_offer_texts() {
    local typed=${cur#[\"\']} text
    typed=${typed//\\/}
    COMPREPLY=()
    for text in "$@"; do
        if [[ ${text,,} == "${typed,,}"* ]]; then
            # Inside an open quote the text goes in as it is; elsewhere it is escaped.
            if [[ $cur != [\"\']* ]]; then
                printf -v text %q "$text"
            fi
            COMPREPLY+=("$text")
        fi
    done
}

_huevane_cli() {
    local cur prev words cword split
    _init_completion -s || return

    # The command, the option whose value is being completed, and whether "--" ended the options.
    local command="" option="" ended="" i
    for ((i = 1; i < cword; i++)); do
        if [[ -z $ended ]]; then
            case ${words[i]} in
                @VALUE_OPTIONS@)
                    if ((i + 1 == cword)); then
                        option=${words[i]}
                    fi
                    ((i++))
                    continue ;;
                --)
                    ended=1
                    continue ;;
            esac
        fi
        if [[ -z $command ]]; then
            case ${words[i]} in
                @COMMAND_NAMES@)
                    command=${words[i]} ;;
            esac
        fi
    done
    if [[ $split == true && -z $ended ]]; then
        option=$prev
    fi

    case $option in
@VALUE_BRANCHES@        ?*)
            # Any other value, or one after "=" on an option that takes none: nothing to offer.
            return ;;
    esac

    local offers
    case $command in
@OFFER_BRANCHES@    esac
    if [[ $ended ]]; then
        # After "--" only the command is still taken.
        if [[ $command ]]; then
            return
        fi
        offers="@COMMANDS@"
    fi
    mapfile -t COMPREPLY < <(compgen -W "$offers" -- "$cur")
}
complete -F _huevane_cli huevane-cli
)";

std::string Joined(std::span<const std::string_view> words, std::string_view separator) {
    std::string joined;
    for (const std::string_view word : words) {
        joined += (joined.empty() ? "" : std::string(separator)) + std::string(word);
    }
    return joined;
}

// The text in single quotes, for the shell to read back as it is.
std::string ShellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string(R"('\'')") : std::string(1, c);
    }
    return quoted + "'";
}

template <typename Texts>
std::string OfferTexts(const Texts& texts) {
    std::string call = "_huevane_cli_offer_texts";
    for (const std::string_view text : texts) {
        call += " " + ShellQuoted(text);
    }
    return call;
}

// The shell command that completes an option's value; empty for none.
std::string ValueAction(ValueCompletion completion) {
    switch (completion) {
        case ValueCompletion::kNothing:
            return "";
        case ValueCompletion::kDirectories:
            return "_filedir -d";
        case ValueCompletion::kFiles:
            return "_filedir";
        case ValueCompletion::kProperties:
            return OfferTexts(kPropertyTexts);
        case ValueCompletion::kVersions:
            return OfferTexts(kVersionTexts);
    }
    return "";
}

std::vector<std::string_view> CommandNames() {
    std::vector<std::string_view> names;
    for (const CommandEntry& command : CommandEntries()) {
        names.push_back(command.name);
    }
    return names;
}

std::vector<std::string_view> OptionsTakingValues() {
    std::vector<std::string_view> names;
    for (const OptionEntry& option : OptionEntries()) {
        if (option.TakesValue()) {
            names.push_back(option.name);
        }
    }
    return names;
}

// The case branches that complete option values, one for each way that offers something.
std::string ValueBranches() {
    std::string branches;
    for (const ValueCompletion completion :
         {ValueCompletion::kDirectories, ValueCompletion::kFiles, ValueCompletion::kProperties,
          ValueCompletion::kVersions}) {
        std::vector<std::string_view> names;
        for (const OptionEntry& option : OptionEntries()) {
            if (option.TakesValue() && option.completion == completion) {
                names.push_back(option.name);
            }
        }
        if (!names.empty()) {
            branches += "        " + Joined(names, "|") + ")\n            " +
                        ValueAction(completion) + "\n            return ;;\n";
        }
    }
    return branches;
}

// The options offered on a command line with this command, or with none (nullptr).
std::string OfferedOptions(const CommandEntry* command) {
    std::vector<std::string_view> names;
    if (command != nullptr) {
        for (const OptionEntry* option : command->options) {
            names.push_back(option->name);
        }
    }
    // With a command, the options about the program alone are not offered.
    for (const OptionEntry& option : OptionEntries()) {
        if (option.scope != OptionScope::kCommand &&
            (command == nullptr || option.scope != OptionScope::kProgram)) {
            names.push_back(option.name);
        }
    }
    return Joined(names, " ");
}

// The case branches that set what is offered with each command, and with none.
std::string OfferBranches() {
    std::string branches;
    for (const CommandEntry& command : CommandEntries()) {
        branches += "        " + std::string(command.name) + ")\n            offers=\"" +
                    OfferedOptions(&command) + "\" ;;\n";
    }
    return branches + "        *)\n            offers=\"" + Joined(CommandNames(), " ") + " " +
           OfferedOptions(nullptr) + "\" ;;\n";
}

std::string Filled(std::string_view text,
                   const std::vector<std::pair<std::string_view, std::string>>& values) {
    std::string filled(text);
    for (const auto& [name, value] : values) {
        for (std::size_t at = filled.find(name); at != std::string::npos;
             at = filled.find(name, at + value.size())) {
            filled.replace(at, name.size(), value);
        }
    }
    return filled;
}

}  // namespace

std::string BashCompletion() {
    return Filled(kTemplate, {
                                 {"@VALUE_OPTIONS@", Joined(OptionsTakingValues(), "|")},
                                 {"@COMMAND_NAMES@", Joined(CommandNames(), "|")},
                                 {"@VALUE_BRANCHES@", ValueBranches()},
                                 {"@OFFER_BRANCHES@", OfferBranches()},
                                 {"@COMMANDS@", Joined(CommandNames(), " ")},
                             });
}

}  // namespace huevane::cli
