#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace huevane::cli {

struct Arguments;

// huevane-cli's commands and options: the one list that the parser, the help texts, the bash
// completion and the man page are all made from.

enum class Command { kVersions, kProperties, kLocate, kDetect, kGet, kSet, kRestore };

// Which command lines take an option, and so where the help tells of it.
enum class OptionScope {
    kFindingTheClient,  // with any command or none; under "Finding the client:" in the help
    kEverywhere,        // with any command or none; under "Other options:"
    kProgram,           // as kEverywhere, though completed only before a command (--version)
    kCommand,           // only with the commands that list it, whose help tells of it
};

// What the bash completion offers for an option's value.
enum class ValueCompletion { kNothing, kDirectories, kFiles, kProperties, kVersions };

// The field of Arguments that an option stores into: true for a flag, the value of an option
// given once, or each value of one that repeats, in the command line's order.
using FlagField = bool Arguments::*;
using ValueField = std::optional<std::string> Arguments::*;
using RepeatedField = std::vector<std::string> Arguments::*;
using OptionTarget = std::variant<FlagField, ValueField, RepeatedField>;

struct OptionEntry {
    std::string_view name;         // "--build"
    std::string_view shortName;    // "-h", or empty
    std::string_view placeholder;  // "B"; empty for a flag, which takes no value
    // What its value must be, said when it is given an empty one ("--build needs a build, not an
    // empty one"); empty for a flag.
    std::string_view needs;
    OptionTarget target;
    OptionScope scope;
    ValueCompletion completion;
    std::string_view help;         // its line in the program's --help; empty for kCommand
    std::string_view description;  // for the man page

    constexpr bool TakesValue() const { return !placeholder.empty(); }
    constexpr bool Repeats() const { return std::holds_alternative<RepeatedField>(target); }
};

struct CommandEntry {
    Command command;
    std::string_view name;
    std::string_view summary;  // its line under "Commands:" in the program's help
    std::span<const OptionEntry* const> options;  // those of OptionScope::kCommand it takes
    // Its --help text, lines of at most 80 columns. The man page fills its prose anew, so it
    // keeps to three forms: the first paragraph is the synopsis, shown line for line, which names
    // each option the command takes; a line indented by two spaces ("  name   what it is")
    // starts an entry of a field list, and a line indented further goes on with that entry;
    // every other line is prose.
    std::string_view help;
    // What a command line of it must hold beyond each option's form: raises a usage error.
    void (*checkRules)(const Arguments&);
};

std::span<const CommandEntry> CommandEntries();  // in the order the program's help lists them
std::span<const OptionEntry> OptionEntries();

const CommandEntry& EntryOf(Command command);
const CommandEntry* FindCommand(std::string_view name);
const OptionEntry* FindOption(std::string_view nameOrShortName);

// Whether a command line with this command (or none, for nullptr) takes the option.
bool Takes(const CommandEntry* command, const OptionEntry& option);

}  // namespace huevane::cli
