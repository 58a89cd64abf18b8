#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/build_number.h"
#include "core/catalogue.h"
#include "core/run_error.h"
#include "ui/apply_command.h"

namespace huevane {

// Every word the main window shows for an Apply: the status line, its tooltip and the message
// boxes. The status texts are fixed; only the reasons tell one failure from another.

inline constexpr std::string_view kSuccessText = "Success!";
inline constexpr std::string_view kErrorText = "Error.";
// The message box for a property the chosen build lacks, in the words huevane-cli uses too.
inline constexpr std::string_view kRefusedText = kUnavailableText;
// The status line and its tooltip while another program holds a file the Apply needs.
inline constexpr std::string_view kWaitingText = "Waiting...";
inline constexpr std::string_view kWaitingReason =
    "Another program is using buddyui.ocm or its backup; Huevane waits a few seconds for it.";

ApplyResult SuccessResult();
ApplyResult RefusedResult();
// The refusal of version for a client whose executable says it is build (such as 5.1.3020),
// in the version list entry installed.
ApplyResult WrongBuildResult(std::int16_t version, const BuildNumber& build,
                             std::int16_t installed);
// The failure of an Apply in stage with error (nullopt: no run-time error, such as a choice left
// empty or memory running out).
ApplyResult ErrorResult(const ApplyInputs& inputs, ApplyStage stage,
                        const std::optional<RunError>& error);

// Why an Apply failed, in the user's words, as ErrorResult gives it. Where the system describes
// the error in words of its own and ours could only guess, the reason ends with them.
std::string FailureReason(const ApplyInputs& inputs, ApplyStage stage,
                          const std::optional<RunError>& error);

}  // namespace huevane
