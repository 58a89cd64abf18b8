#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace huevane {

inline constexpr std::string_view kBackupFileName = "BUIBackup.ocm";

// The user's choices when "Apply Changes" is pressed.
struct ApplyInputs {
    std::int16_t version = -1;   // -1: nothing selected
    std::int16_t property = -1;  // -1: nothing selected
    int backupFlag = 0;          // check box value; only 1 asks for a backup
    std::int32_t color = 0;      // 0x00BBGGRR
    std::string installDir;
    // The registered path of the client's executable, whose build the choice must fit; empty
    // when the registry names none.
    std::string executable;
    std::string programDir;
};

// What the main window shows for each outcome; ui/apply_messages.h holds the words.
enum class ApplyOutcome {
    kSuccess,  // show text in the status line
    kError,    // show text in the status line, with reason as its tooltip
    kRefused,  // show text in a message box; leave the status line alone
    // The chosen version is not the client's: show reason in a message box, then text in the
    // status line with the same reason.
    kWrongBuild,
};

struct ApplyResult {
    ApplyOutcome outcome;
    std::string text;
    // For kError and kWrongBuild: why, in the user's words; empty otherwise.
    std::string reason;
};

// The part of an Apply that was at work when it failed.
enum class ApplyStage {
    kChoice,         // reading the user's choices
    kEncode,         // turning the colour and its place into bytes
    kPatch,          // rewriting buddyui.ocm
    kBackupCopy,     // writing the backup into the program directory
    kBackupReplace,  // putting the backup in place, after buddyui.ocm was rewritten
};

// Runs one Apply, top to bottom: the check of the chosen version against the client's build
// (where its executable tells it), the availability check, the lookup, the encoders and the
// rewrite of buddyui.ocm in inputs.installDir (UpdateBuddyUi, the writer behind the main
// window's UpdateBUI), with the optional backup made from the same bytes under the same lock.
// Nothing is written, the backup included, unless the choice passes every check. Every failure
// ends in kError; nothing is thrown.
ApplyResult RunApplyCommand(const ApplyInputs& inputs, FileSystem& fs);

}  // namespace huevane
