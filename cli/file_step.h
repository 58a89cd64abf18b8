#pragma once

#include <string>
#include <utility>

#include "cli/error_messages.h"
#include "core/file_system.h"
#include "core/run_error.h"

namespace huevane::cli {

// Runs step, which does action to the file or directory at path, and returns what it returns;
// a failure of the step ends the command with a message that names path ("cannot read PATH: no
// such file"). Checks of what the step returns go after it, so that their own messages stay.
template <typename Step>
decltype(auto) OnFile(FileSystem& fs, FileAction action, const std::string& path, Step&& step) {
    try {
        return std::forward<Step>(step)();
    } catch (const RunError& e) {
        throw FileFailure(action, path, e, fs);
    }
}

}  // namespace huevane::cli
