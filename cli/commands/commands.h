#pragma once
// huevane-cli's commands, one file each; RunCli (cli/run_cli.cpp) runs the one asked for.

#include <cstdint>
#include <string>

#include "cli/command_context.h"

namespace huevane::cli {

void ListVersions(const CommandContext& context);
void ListProperties(const CommandContext& context);
void Locate(const CommandContext& context);
void Detect(const CommandContext& context);
void Get(const CommandContext& context);
void Set(const CommandContext& context);
void Restore(const CommandContext& context);

// {"index": 3, "text": "5.1.3009 - 5.1.3036"}: an entry of the version list as versions --json
// shows it, which names the build in detect --json and get --json.
std::string VersionJson(std::int16_t version);

// Refuses a --backup path that names the target, in any spelling or through a link: the
// target's bytes would be copied onto themselves. Shared by set and restore.
void RefuseBackupOfItself(FileSystem& fs, const std::string& backup, const std::string& target);

}  // namespace huevane::cli
