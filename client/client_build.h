#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/file_system.h"

namespace huevane {

// The build of the client's executable, as its version resource gives it.
struct ClientBuild {
    std::string text;                     // such as 5.1.3020
    std::optional<std::int16_t> version;  // the version list entry that holds it, if any
};

// Reads the build of the executable at path. nullopt when the file has no version resource;
// raises RunError when it cannot be read.
std::optional<ClientBuild> ReadClientBuild(FileSystem& fs, const std::string& path);

}  // namespace huevane
