#include "ui/apply_command.h"

#include <cstddef>
#include <exception>
#include <new>

#include "core/catalogue.h"
#include "client/client_build.h"
#include "client/install_dir.h"
#include "core/encoders.h"
#include "core/safe_rewrite.h"
#include "core/patch_writer.h"
#include "core/run_error.h"

namespace huevane {
namespace {

constexpr int kBackupChecked = 1;

ApplyResult Succeed() {
    return {ApplyOutcome::kSuccess, std::string(kSuccessText), {}};
}

ApplyResult Fail(const ApplyInputs& inputs, ApplyStage stage, std::optional<ErrorNumber> number) {
    return {ApplyOutcome::kError, std::string(kErrorText), FailureReason(inputs, stage, number)};
}

std::string BackupReason(ErrorNumber number) {
    switch (number) {
        case ErrorNumber::kFileAlreadyOpen:
            return "The backup BUIBackup.ocm is in use by another program, so no backup was made "
                   "and nothing was changed.";
        case ErrorNumber::kDiskFull:
            return "The disk is full, so no backup was made and nothing was changed.";
        case ErrorNumber::kPermissionDenied:
            return "BUIBackup.ocm or Huevane's folder may not be written, so no backup was made "
                   "and nothing was changed. Make BUIBackup.ocm writable, move Huevane to a "
                   "folder you may write to, or uncheck \"Make Backup\".";
        case ErrorNumber::kPathFileAccess:
            return "BUIBackup.ocm is not a regular file, or it is buddyui.ocm itself, so no "
                   "backup was made and nothing was changed.";
        default:
            return "Huevane's folder cannot be written, so no backup was made and nothing was "
                   "changed. Move Huevane to a folder you may write to, or uncheck \"Make "
                   "Backup\".";
    }
}

std::string TargetReason(ErrorNumber number) {
    switch (number) {
        case ErrorNumber::kFileNotFound:
            return "There is no buddyui.ocm in AIM's folder.";
        case ErrorNumber::kPathNotFound:
            return "AIM's folder, as the registry names it, does not exist.";
        case ErrorNumber::kBadFileName:
            return "The path of AIM's folder is not a valid file name.";
        case ErrorNumber::kFileAlreadyOpen:
            return "buddyui.ocm is in use by another program. Close AIM and try again.";
        case ErrorNumber::kDiskFull:
            return "The disk is full; buddyui.ocm was left as it was.";
        case ErrorNumber::kPermissionDenied:
            return "Permission denied: you may not change buddyui.ocm, or it is read-only.";
        case ErrorNumber::kPathFileAccess:
            return "buddyui.ocm is not a regular file.";
        case ErrorNumber::kDeviceIo:
            return "Reading or writing buddyui.ocm failed, or another program changed it "
                   "meanwhile; it was left as it was.";
        case ErrorNumber::kInvalidArgument:
            return "buddyui.ocm is too short for the chosen version: check the AIM version.";
        case ErrorNumber::kOverflow:
        case ErrorNumber::kTypeMismatch:
            return "The colour cannot be written into buddyui.ocm.";
    }
    return "buddyui.ocm could not be changed.";
}

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
    return ApplyResult{ApplyOutcome::kWrongBuild, std::string(kErrorText),
                       WrongBuildText(inputs.version, build->text, *build->version)};
}

// The stage a failure belongs to once the rewrite says whether it was the backup's.
ApplyStage BackupStage(const BackupCopy& backup, ApplyStage stage) {
    if (!backup.failed) {
        return stage;
    }
    return backup.fileChanged ? ApplyStage::kBackupReplace : ApplyStage::kBackupCopy;
}

}  // namespace

std::string FailureReason(const ApplyInputs& inputs, ApplyStage stage,
                          std::optional<ErrorNumber> number) {
    if (stage == ApplyStage::kPatch && inputs.installDir == kInstallDirNotFound) {
        return "AIM is not registered for this Windows user, so its folder is unknown. Install "
               "AIM, or start it once as this user.";
    }
    if (stage == ApplyStage::kChoice) {
        if (inputs.version < 0) {
            return "Select your AIM version first.";
        }
        if (inputs.property < 0) {
            return "Select the property to change first.";
        }
        return "That choice has no place in buddyui.ocm.";
    }
    if (!number) {
        return "There is not enough memory to change buddyui.ocm.";
    }
    switch (stage) {
        case ApplyStage::kBackupCopy:
            return BackupReason(*number);
        case ApplyStage::kBackupReplace:
            return "The colour was written, but the backup BUIBackup.ocm could not be replaced; "
                   "it still holds the file as an earlier Apply found it.";
        default:
            return TargetReason(*number);
    }
}

std::string WrongBuildText(std::int16_t version, const std::string& build, std::int16_t installed) {
    return "Your AIM is build " + build + ", which \"" +
           std::string(kVersionTexts[static_cast<std::size_t>(version)]) +
           "\" does not cover. Select \"" +
           std::string(kVersionTexts[static_cast<std::size_t>(installed)]) +
           "\" and try again; nothing was changed.";
}

ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs) {
    ApplyStage stage = ApplyStage::kChoice;
    BackupCopy backup;
    try {
        if (std::optional<ApplyResult> refusal = RefuseWrongBuild(inputs, fs)) {
            return *refusal;
        }
        if (!IsAvailable(inputs.version, inputs.property)) {
            return {ApplyOutcome::kRefused, std::string(kUnavailableText), {}};
        }
        const std::string strOffset = LookupOffset(inputs.version, inputs.property);
        if (strOffset.empty()) {
            // Nothing selected: there is no offset, and no place in the file is safe to write.
            return Fail(inputs, stage, std::nullopt);
        }
        stage = ApplyStage::kPatch;
        const std::string strColor = modColors::ColorToStr(inputs.color);
        const std::int32_t lngSpot = modColors::HexToSpot(strOffset);
        const bool wantBackup = inputs.backupFlag == kBackupChecked;
        if (wantBackup) {
            stage = ApplyStage::kBackupCopy;
            backup.path = FilePathFor(fs, inputs.programDir, kBackupFileName);
            stage = ApplyStage::kPatch;
        }
        UpdateBuddyUi(fs, inputs.installDir, strColor, lngSpot, wantBackup ? &backup : nullptr);
    } catch (const RunError& error) {
        return Fail(inputs, BackupStage(backup, stage), error.number());
    } catch (const std::exception&) {
        // bad_alloc for a file too large to hold.
        return Fail(inputs, stage == ApplyStage::kChoice ? ApplyStage::kPatch : stage,
                    std::nullopt);
    }
    return Succeed();
}

}  // namespace huevane
