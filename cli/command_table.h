#pragma once

#include <span>
#include <string_view>

namespace huevane::cli {

struct Arguments;

// huevane-cli's commands and options: the one list that the parser, the help texts, the bash
// completion and the man page are all made from.

enum class Command { kVersions, kProperties, kLocate, kDetect, kGet, kSet, kRestore };

enum class Option {
    kDir,
    kPrefix,
    kHelp,
    kVersion,
    kBuild,
    kProperty,
    kColor,
    kFrom,
    kBackup,
    kForce,
    kJson,
};

// Which command lines take an option.
enum class OptionScope {
    kEverywhere,  // with any command or none
    kProgram,     // with any command or none, though it is about the program (--version)
    kCommand,     // only with the commands that list it
};

// What the bash completion offers for an option's value.
enum class ValueCompletion { kNothing, kDirectories, kFiles, kProperties, kVersions };

struct OptionEntry {
    Option option;
    std::string_view name;         // "--build"
    std::string_view shortName;    // "-h", or empty
    std::string_view placeholder;  // "B"; empty for an option that takes no value
    bool repeats;                  // its value may be given more than once
    OptionScope scope;
    ValueCompletion completion;
    std::string_view description;  // for the man page

    bool TakesValue() const { return !placeholder.empty(); }
};

struct CommandEntry {
    Command command;
    std::string_view name;
    std::string_view summary;         // its line under "Commands:" in the program's help
    std::span<const Option> options;  // those of OptionScope::kCommand it takes
    // Its --help text, lines of at most 80 columns. The man page fills its prose anew, so it
    // keeps to three forms: the first paragraph is the synopsis, shown line for line; a line
    // indented by two spaces ("  name   what it is") starts an entry of a field list, and a line
    // indented further goes on with that entry; every other line is prose.
    std::string_view help;
    // What a command line of it must hold beyond each option's form: raises a usage error.
    void (*checkRules)(const Arguments&);
};

std::span<const CommandEntry> CommandEntries();  // in the order the program's help lists them
std::span<const OptionEntry> OptionEntries();

const CommandEntry& EntryOf(Command command);
const OptionEntry& EntryOf(Option option);
const CommandEntry* FindCommand(std::string_view name);
const OptionEntry* FindOption(std::string_view nameOrShortName);

// Whether a command line with this command (or none, for nullptr) takes the option.
bool Takes(const CommandEntry* command, const OptionEntry& option);

}  // namespace huevane::cli
