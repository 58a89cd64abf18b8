#include "ui/apply_command.h"

#include <cstddef>
#include <exception>
#include <new>
#include <optional>
#include <string>

#include "client/client_build.h"
#include "core/catalogue.h"
#include "core/encoders.h"
#include "core/patch_writer.h"
#include "core/run_error.h"
#include "core/safe_rewrite.h"
#include "ui/apply_messages.h"

namespace huevane {
namespace {

constexpr int kBackupChecked = 1;

// A refusal when the client's executable tells a build that the chosen version does not hold;
// nullopt when it holds it, or when the build cannot be told and the user's word must do.
std::optional<ApplyResult> RefuseWrongBuild(const ApplyInputs& inputs, FileSystem& fs) {
    const bool versionChosen =
        inputs.version >= 0 && static_cast<std::size_t>(inputs.version) < kVersionTexts.size();
    if (inputs.executable.empty() || !versionChosen) {
        return std::nullopt;
    }
    std::optional<ClientBuild> build;
    try {
        build = ReadClientBuild(fs, inputs.executable);
    } catch (const RunError&) {
        return std::nullopt;  // no executable there, or none that can be read
    }
    if (!build || !build->version || *build->version == inputs.version) {
        return std::nullopt;
    }
    return WrongBuildResult(inputs.version, build->build, *build->version);
}

// The stage a failure belongs to once the rewrite says whether it was the backup's.
ApplyStage BackupStage(const BackupCopy& backup, ApplyStage stage) {
    if (!backup.failed) {
        return stage;
    }
    return backup.fileChanged ? ApplyStage::kBackupReplace : ApplyStage::kBackupCopy;
}

}  // namespace

ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs) {
    ApplyStage stage = ApplyStage::kChoice;
    BackupCopy backup;
    try {
        if (std::optional<ApplyResult> refusal = RefuseWrongBuild(inputs, fs)) {
            return *refusal;
        }
        if (!IsAvailable(inputs.version, inputs.property)) {
            return RefusedResult();
        }
        const std::string strOffset = LookupOffset(inputs.version, inputs.property);
        if (strOffset.empty()) {
            // Nothing selected: there is no offset, and no place in the file is safe to write.
            return ErrorResult(inputs, stage, std::nullopt);
        }
        stage = ApplyStage::kEncode;
        const std::string strColor = modColors::ColorToStr(inputs.color);
        const std::int32_t lngSpot = modColors::HexToSpot(strOffset);
        stage = ApplyStage::kPatch;
        const bool wantBackup = inputs.backupFlag == kBackupChecked;
        if (wantBackup) {
            stage = ApplyStage::kBackupCopy;
            backup.path = FilePathFor(fs, inputs.programDir, kBackupFileName);
            stage = ApplyStage::kPatch;
        }
        UpdateBuddyUi(fs, inputs.installDir, strColor, lngSpot, wantBackup ? &backup : nullptr);
    } catch (const RunError& error) {
        return ErrorResult(inputs, BackupStage(backup, stage), error);
    } catch (const std::exception&) {
        // bad_alloc for a file too large to hold.
        return ErrorResult(inputs, stage == ApplyStage::kChoice ? ApplyStage::kPatch : stage,
                           std::nullopt);
    }
    return SuccessResult();
}

}  // namespace huevane
