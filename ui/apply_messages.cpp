#include "ui/apply_messages.h"

#include <cstddef>

#include "client/install_dir.h"
#include "core/clipped_text.h"

namespace huevane {
namespace {

// The system's own words for error, escaped and clipped, without a closing full stop; empty
// where it gave none.
std::string SystemWords(const RunError& error) {
    if (error.cause() != ErrorCause::kSystem) {
        return {};
    }
    std::string words = error.text();
    while (!words.empty() && (words.back() == '.' || words.back() == ' ')) {
        words.pop_back();
    }
    return Clipped(words);
}

// A reason for an error that our words can only guess at: what happened followed by the
// system's words where it has any ("what: words."), else ours alone.
std::string GenericReason(const RunError& error, std::string_view what, std::string_view ours) {
    const std::string words = SystemWords(error);
    if (words.empty()) {
        return std::string(ours);
    }
    return std::string(what) + ": " + words + ".";
}

std::string BackupReason(const RunError& error) {
    switch (error.number()) {
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
            return GenericReason(error,
                                 "Writing the backup BUIBackup.ocm failed, so no backup was made "
                                 "and nothing was changed",
                                 "Huevane's folder cannot be written, so no backup was made and "
                                 "nothing was changed. Move Huevane to a folder you may write "
                                 "to, or uncheck \"Make Backup\".");
    }
}

std::string TargetReason(const RunError& error) {
    switch (error.number()) {
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
            // Without the system's words, the copy may also have found the file changed.
            return GenericReason(error,
                                 "Reading or writing buddyui.ocm failed, so it was left as it was",
                                 "Reading or writing buddyui.ocm failed, or another program "
                                 "changed it meanwhile; it was left as it was.");
        case ErrorNumber::kInvalidArgument:
            return "buddyui.ocm is too short for the chosen version: check the AIM version.";
        case ErrorNumber::kOverflow:
        case ErrorNumber::kTypeMismatch:
            return "The colour cannot be written into buddyui.ocm.";
    }
    return GenericReason(error, "buddyui.ocm could not be changed",
                         "buddyui.ocm could not be changed.");
}

std::string BackupReplaceReason(const RunError& error) {
    return GenericReason(error,
                         "The colour was written, but the backup BUIBackup.ocm could not be "
                         "replaced, so it still holds the file as an earlier Apply found it",
                         "The colour was written, but the backup BUIBackup.ocm could not be "
                         "replaced; it still holds the file as an earlier Apply found it.");
}

std::string WrongBuildText(std::int16_t version, const BuildNumber& build, std::int16_t installed) {
    return "Your AIM is build " + BuildNumberText(build) + ", which \"" +
           std::string(kVersionTexts[static_cast<std::size_t>(version)]) +
           "\" does not cover. Select \"" +
           std::string(kVersionTexts[static_cast<std::size_t>(installed)]) +
           "\" and try again; nothing was changed.";
}

}  // namespace

ApplyResult SuccessResult() {
    return {ApplyOutcome::kSuccess, std::string(kSuccessText), {}};
}

ApplyResult RefusedResult() {
    return {ApplyOutcome::kRefused, std::string(kRefusedText), {}};
}

ApplyResult WrongBuildResult(std::int16_t version, const BuildNumber& build,
                             std::int16_t installed) {
    return {ApplyOutcome::kWrongBuild, std::string(kErrorText),
            WrongBuildText(version, build, installed)};
}

ApplyResult ErrorResult(const ApplyInputs& inputs, ApplyStage stage,
                        const std::optional<RunError>& error) {
    return {ApplyOutcome::kError, std::string(kErrorText), FailureReason(inputs, stage, error)};
}

std::string FailureReason(const ApplyInputs& inputs, ApplyStage stage,
                          const std::optional<RunError>& error) {
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
    if (!error) {
        return "There is not enough memory to change buddyui.ocm.";
    }
    switch (stage) {
        case ApplyStage::kEncode:
            return "The colour cannot be written into buddyui.ocm.";
        case ApplyStage::kBackupCopy:
            return BackupReason(*error);
        case ApplyStage::kBackupReplace:
            return BackupReplaceReason(*error);
        default:
            return TargetReason(*error);
    }
}

}  // namespace huevane
