#include "cli/arguments.h"

#include <algorithm>
#include <span>
#include <utility>
#include <variant>

#include "cli/cli_error.h"
#include "core/clipped_text.h"

namespace huevane::cli {
namespace {

// A word of the command line that names an option: "--name", "--name=value" or a short name.
struct OptionWord {
    std::string name;
    std::optional<std::string> inlineValue;
};

// The word as an option, or nullopt for a word that is none (a command, or a stray word).
std::optional<OptionWord> ReadOption(const std::string& word) {
    if (word.rfind("--", 0) != 0) {
        return FindOption(word) != nullptr ? std::optional<OptionWord>({word, std::nullopt})
                                           : std::nullopt;
    }
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) {
        return OptionWord{word, std::nullopt};
    }
    return OptionWord{word.substr(0, equals), word.substr(equals + 1)};
}

// The option's table entry, when the command line so far takes the option in that form.
const OptionEntry& LookUpOption(const OptionWord& word, const std::optional<Command>& command) {
    const OptionEntry* option = FindOption(word.name);
    if (option != nullptr && !option->TakesValue() && word.inlineValue) {
        UsageError(word.name + " takes no value");
    }
    const CommandEntry* entry = command ? &EntryOf(*command) : nullptr;
    if (option == nullptr || !Takes(entry, *option)) {
        UsageError("unknown option " + Clipped(word.name) +
                   (entry == nullptr ? "" : " for " + std::string(entry->name)));
    }
    return *option;
}

// Puts an option's value where its entry says, or for a flag, that it was given.
void Store(Arguments& parsed, const OptionEntry& option, std::string value) {
    if (const auto* flag = std::get_if<FlagField>(&option.target)) {
        parsed.*(*flag) = true;
    } else if (const auto* field = std::get_if<ValueField>(&option.target)) {
        parsed.*(*field) = std::move(value);
    } else {
        (parsed.*std::get<RepeatedField>(option.target)).push_back(std::move(value));
    }
}

// A word that is not an option: the command, when none is given yet.
void TakeWord(Arguments& parsed, const std::string& word) {
    if (parsed.command) {
        UsageError("unexpected argument " + Clipped(word));
    }
    const CommandEntry* command = FindCommand(word);
    if (command == nullptr) {
        UsageError("unknown command " + Clipped(word));
    }
    parsed.command = command->command;
}

// The command line's words, read from first to last.
class Words {
public:
    explicit Words(const std::vector<std::string>& words) : words_(words) {}

    bool AtEnd() const { return next_ == words_.size(); }
    const std::string& Next() { return words_[next_++]; }

    // The value of an option, inline or the next word, whatever that word looks like.
    std::string ValueOf(const OptionWord& word) {
        if (word.inlineValue) {
            return *word.inlineValue;
        }
        if (AtEnd()) {
            UsageError(Clipped(word.name) + " needs a value");
        }
        return Next();
    }

private:
    const std::vector<std::string>& words_;
    std::size_t next_ = 0;
};

// Each --color belongs to the --property before it, so that the two lists hold pairs in order.
// given lists the options in the order of the command line.
void CheckColorPairs(const Arguments& parsed, std::span<const OptionEntry* const> given) {
    const std::string rule = "; " + std::string(EntryOf(*parsed.command).name) +
                             " needs one --color for each --property";
    std::size_t properties = 0;
    std::size_t colors = 0;
    const auto refuseUncoloredProperty = [&] {
        if (properties > colors) {
            UsageError("--property " + Clipped(parsed.properties[properties - 1]) +
                       " has no --color after it" + rule);
        }
    };
    for (const OptionEntry* option : given) {
        if (option->name == "--property") {
            refuseUncoloredProperty();
            ++properties;
        } else if (option->name == "--color") {
            if (properties == 0) {
                UsageError("--color " + Clipped(parsed.colors[colors]) +
                           " has no --property before it" + rule);
            }
            if (colors == properties) {
                UsageError("--property " + Clipped(parsed.properties[properties - 1]) +
                           " has two colours, " + Clipped(parsed.colors[colors - 1]) + " and " +
                           Clipped(parsed.colors[colors]) + rule);
            }
            ++colors;
        }
    }
    refuseUncoloredProperty();
}

void CheckRules(const Arguments& parsed, std::span<const OptionEntry* const> given) {
    if (parsed.help || parsed.showVersion || !parsed.command) {
        return;
    }
    if (parsed.dir && parsed.prefix) {
        UsageError("give --dir PATH or --prefix DIR, not both");
    }
    const CommandEntry& command = EntryOf(*parsed.command);
    if (command.checkRules != nullptr) {
        command.checkRules(parsed);
    }
    if (Takes(&command, *FindOption("--color"))) {
        CheckColorPairs(parsed, given);
    }
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    std::vector<const OptionEntry*> given;
    bool optionsEnded = false;
    Words words(args);
    while (!words.AtEnd()) {
        const std::string& word = words.Next();
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::optional<OptionWord> optionWord = optionsEnded ? std::nullopt : ReadOption(word);
        if (!optionWord) {
            TakeWord(parsed, word);
            continue;
        }
        const OptionEntry& option = LookUpOption(*optionWord, parsed.command);
        std::string value = option.TakesValue() ? words.ValueOf(*optionWord) : std::string();
        const bool again = std::find(given.begin(), given.end(), &option) != given.end();
        if (again && option.TakesValue() && !option.Repeats()) {
            UsageError(std::string(option.name) + " given twice");
        }
        given.push_back(&option);
        Store(parsed, option, std::move(value));
    }
    CheckRules(parsed, given);
    return parsed;
}

}  // namespace huevane::cli
