#include "core/apply_command.h"

#include <exception>
#include <new>

#include "core/catalogue.h"
#include "core/encoders.h"
#include "core/file_ops.h"
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

void MakeBackup(FileSystem& fs, const ApplyInputs& inputs, ApplyStage& stage) {
    stage = ApplyStage::kBackupSource;
    const std::string source = ExistingFilePath(fs, inputs.installDir, kTargetFileName);
    stage = ApplyStage::kBackupCopy;
    const std::string destination = FilePathFor(fs, inputs.programDir, kBackupFileName);
    CopyFileAtomically(fs, source, destination);
}

}  // namespace

std::string FailureReason(const ApplyInputs& inputs, ApplyStage stage,
                          std::optional<ErrorNumber> number) {
    const bool nearTarget = stage == ApplyStage::kBackupSource || stage == ApplyStage::kPatch;
    if (nearTarget && inputs.installDir == kInstallDirNotFound) {
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
    return stage == ApplyStage::kBackupCopy ? BackupReason(*number) : TargetReason(*number);
}

ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs) {
    ApplyStage stage = ApplyStage::kChoice;
    try {
        // The backup comes first, so it is made even for a choice that is then refused.
        if (inputs.backupFlag == kBackupChecked) {
            MakeBackup(fs, inputs, stage);
        }
        stage = ApplyStage::kChoice;
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
        UpdateBuddyUi(fs, inputs.installDir, strColor, lngSpot);
    } catch (const RunError& error) {
        return Fail(inputs, stage, error.number());
    } catch (const std::exception&) {
        // bad_alloc for a file too large to hold.
        return Fail(inputs, stage == ApplyStage::kChoice ? ApplyStage::kPatch : stage,
                    std::nullopt);
    }
    return Succeed();
}

}  // namespace huevane
