#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/file_system.h"
#include "core/run_error.h"

namespace huevane::client {

// Where the client is installed, and how that was found out.
struct ClientLocation {
    std::string installDir;  // host path of the directory that holds buddyui.ocm
    std::string executable;  // host path of the registered executable; empty with --dir
    std::string source;      // for `locate`: where the path came from
};

// Why the client's install directory could not be told, with the path it concerns; the caller
// words it. A usage error (ErrorCause::kUsage) for --prefix on Windows.
class ClientNotFound : public RunError {
public:
    enum class Why {
        kPrefixOnWindows,     // --prefix given on Windows, where the registry tells the path
        kNotInRegistry,       // Windows: the registry holds no path for the client
        kRelativeWinePrefix,  // path, $WINEPREFIX, is not absolute
        kNoDefaultPrefix,     // neither $WINEPREFIX nor $HOME is set
        kNoWinePrefix,        // path, the prefix, is no directory
        kNoUserReg,           // path, the prefix, holds no user.reg
        kUserRegNotAFile,     // path, the prefix's user.reg, is not a regular file
        kUserRegUnreadable,   // path, the prefix's user.reg, cannot be read: readError() says why
        kNotAWineRegistry,    // path, the prefix's user.reg, is not a Wine registry file
        kNoKey,               // path, the prefix's user.reg, has no key for the client
        kNoDefaultValue,      // path, the prefix's user.reg, has the key but no default value
        kRegisteredPathNotText,  // path, the prefix's user.reg, holds a value that is not text
    };

    ClientNotFound(Why why, std::string path, std::optional<RunError> readError = std::nullopt)
        : RunError(ErrorNumber::kInvalidArgument,
                   why == Why::kPrefixOnWindows ? ErrorCause::kUsage : ErrorCause::kNumber),
          why_(why),
          details_(
              std::make_shared<const Details>(Details{std::move(path), std::move(readError)})) {}

    Why why() const noexcept { return why_; }
    const std::string& path() const noexcept { return details_->path; }
    const std::optional<RunError>& readError() const noexcept { return details_->readError; }

private:
    struct Details {
        std::string path;
        std::optional<RunError> readError;
    };
    Why why_;
    std::shared_ptr<const Details> details_;  // shared, so that copies cannot throw
};

// The install directory from --dir, else from the registry (Windows) or from the Wine prefix's
// user.reg (elsewhere). Raises ClientNotFound saying what is missing.
ClientLocation LocateClient(const std::optional<std::string>& dir,
                            const std::optional<std::string>& prefix, FileSystem& fs);

}  // namespace huevane::client
