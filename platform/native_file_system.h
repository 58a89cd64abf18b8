#pragma once

#include <memory>

#include "core/file_system.h"

namespace huevane::platform {

// The file system of the machine the program runs on (Win32 on Windows, POSIX elsewhere).
std::unique_ptr<FileSystem> MakeNativeFileSystem();

}  // namespace huevane::platform
