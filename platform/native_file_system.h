#pragma once

#include <memory>
#include <string_view>

#include "core/file_system.h"

namespace huevane::platform {

// The file system of the machine the program runs on (Win32 on Windows, POSIX elsewhere).
std::unique_ptr<FileSystem> MakeNativeFileSystem();

// Makes an interrupt or a termination (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or a closed
// console on Windows) that comes before any file has been replaced remove every new file that
// the native file system is writing, write notice (one line) to standard error and end the
// process as the interrupt ends it: killed by that signal, or with STATUS_CONTROL_C_EXIT on
// Windows. Once a file has been replaced, an interrupt is let pass and the run finishes what it
// began. For console programs; call once at start-up.
void StopOnInterrupt(std::string_view notice);

}  // namespace huevane::platform
