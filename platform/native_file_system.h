#pragma once

#include <memory>

#include "core/file_system.h"

namespace huevane::platform {

// The file system of the machine the program runs on (Win32 on Windows, POSIX elsewhere).
std::unique_ptr<FileSystem> MakeNativeFileSystem();

// Makes an interrupt or a termination (SIGINT, SIGTERM, SIGHUP; Ctrl+C or a closed console on
// Windows) remove the new file that the native file system is writing before the process ends.
// For console programs; call once at start-up.
void RemoveNewFileOnSignals();

}  // namespace huevane::platform
