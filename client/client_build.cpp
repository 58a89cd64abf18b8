#include "client/client_build.h"

#include <memory>

#include "core/catalogue.h"
#include "formats/pe_version.h"

namespace huevane {

std::optional<ClientBuild> ReadClientBuild(FileSystem& fs, const std::string& path) {
    const std::unique_ptr<ReadableFile> file = fs.OpenRead(path);
    const std::optional<pe::FileVersion> found = pe::ReadFileVersion(*file);
    if (!found) {
        return std::nullopt;
    }
    const BuildNumber build{found->major, found->minor, found->build};
    return ClientBuild{build, VersionForBuild(build)};
}

}  // namespace huevane
