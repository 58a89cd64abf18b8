#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/build_number.h"
#include "core/file_system.h"

namespace huevane {

// The build of the client's executable, as its version resource gives it.
struct ClientBuild {
    BuildNumber build;
    std::optional<std::int16_t> version;  // the version list entry that holds it, if any
};

// Reads the build of the executable at path. nullopt when the file has no version resource;
// raises RunError when it cannot be read.
std::optional<ClientBuild> ReadClientBuild(FileSystem& fs, const std::string& path);

}  // namespace huevane
