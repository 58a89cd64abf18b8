#include "core/apply_command.h"

#include <exception>

#include "core/catalogue.h"
#include "core/encoders.h"
#include "core/file_ops.h"
#include "core/patch_writer.h"
#include "core/run_error.h"

namespace huevane {
namespace {

constexpr int kBackupChecked = 1;

ApplyResult Finish(ApplyOutcome outcome) {
    return {outcome, std::string(outcome == ApplyOutcome::kSuccess ? kSuccessText : kErrorText)};
}

void MakeBackup(FileSystem& fs, const ApplyInputs& inputs) {
    const std::string source = ExistingFilePath(fs, inputs.installDir, kTargetFileName);
    const std::string destination = FilePathFor(fs, inputs.programDir, kBackupFileName);
    CopyFileAtomically(fs, source, destination);
}

}  // namespace

ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs, const PatchFunction& patch) {
    try {
        // The backup comes first, so it is made even for a choice that is then refused.
        if (inputs.backupFlag == kBackupChecked) {
            MakeBackup(fs, inputs);
        }
        if (!IsAvailable(inputs.version, inputs.property)) {
            return {ApplyOutcome::kRefused, std::string(kUnavailableText)};
        }
        const std::string strOffset = LookupOffset(inputs.version, inputs.property);
        if (strOffset.empty()) {
            // Nothing selected: there is no offset, and no place in the file is safe to write.
            return Finish(ApplyOutcome::kError);
        }
        const std::string strColor = modColors::ColorToStr(inputs.color);
        const std::int32_t lngSpot = modColors::HexToSpot(strOffset);
        patch(strColor, lngSpot);
    } catch (const std::exception&) {
        // RunError from our own steps, bad_alloc for a file too large to hold: all are "Error.".
        return Finish(ApplyOutcome::kError);
    }
    return Finish(ApplyOutcome::kSuccess);
}

ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs) {
    return RunApplyCommand(inputs, fs, [&](const std::string& strColor, std::int32_t lngSpot) {
        UpdateBuddyUi(fs, inputs.installDir, strColor, lngSpot);
    });
}

}  // namespace huevane
