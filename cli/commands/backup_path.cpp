#include <optional>

#include "cli/commands/commands.h"
#include "cli/error_messages.h"
#include "cli/file_step.h"

namespace huevane::cli {

void RefuseBackupOfItself(FileSystem& fs, const std::string& backup, const std::string& target) {
    const bool same = OnFile(fs, FileAction::kLookAt, backup, [&] {
        const std::optional<FileIdentity> backupFile = fs.Identify(backup);
        const std::optional<FileIdentity> targetFile = fs.Identify(target);
        return backupFile && targetFile && backupFile->SameFile(*targetFile);
    });
    if (same) {
        throw BackupIsTarget(backup, target);
    }
}

}  // namespace huevane::cli
