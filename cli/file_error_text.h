#pragma once

#include <string>

#include "core/file_system.h"
#include "core/run_error.h"

namespace huevane::cli {

// Why a file step failed, in words a user can act on: the cause where one was noted, else the
// system's own words, else the error number in plain words (never its old run-time name).
std::string Reason(const RunError& e);

// The same for a step on the file at path, naming a directory where a file was expected.
std::string Reason(const RunError& e, FileSystem& fs, const std::string& path);

}  // namespace huevane::cli
