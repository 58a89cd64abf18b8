// restore: a backup copied back over the client's buddyui.ocm, in one safe replacement.
#include <cstdint>
#include <optional>
#include <string>

#include "cli/client_choice.h"
#include "cli/commands/commands.h"
#include "cli/error_messages.h"
#include "core/clipped_text.h"
#include "core/safe_rewrite.h"

namespace huevane::cli {

void Restore(const CommandContext& context) {
    ClientChoice client(context);
    const std::string target = client.Target();
    const std::string& backup = *context.args.backup;
    RefuseBackupOfItself(context.fs, backup, target);
    // A backup of the file has its size; checked under the lock, against the file as it is.
    std::optional<RunError> refusal;
    const auto sameSize = [&](std::uint64_t backupSize,
                              const std::optional<FileIdentity>& current) {
        const std::uint64_t targetSize = current ? current->size : 0;
        if (backupSize != targetSize) {
            refusal = NotABackup(backup, backupSize, target, targetSize);
            throw *refusal;
        }
    };
    try {
        CopyFileAtomically(context.fs, backup, target, sameSize);
    } catch (const RunError& e) {
        // The size check's own refusal, else why the copy failed.
        throw refusal ? *refusal : RestoreFailure(target, backup, e, context.fs);
    }
    context.out << "restored " << Clipped(target) << " from " << Clipped(backup) << "\n";
}

}  // namespace huevane::cli
