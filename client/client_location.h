#pragma once

#include <optional>
#include <string>

#include "core/file_system.h"

namespace huevane::cli {

// Where the client is installed, and how that was found out.
struct ClientLocation {
    std::string installDir;  // host path of the directory that holds buddyui.ocm
    std::string executable;  // host path of the registered executable; empty with --dir
    std::string source;      // for `locate`: where the path came from
};

// The install directory from --dir, else from the registry (Windows) or from the Wine prefix's
// user.reg (elsewhere). Raises RunError naming what is missing.
ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefix, FileSystem& fs);

}  // namespace huevane::cli
