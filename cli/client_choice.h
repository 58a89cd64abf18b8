#pragma once
// Which client a command works on and which build it takes the client for, in one place.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/command_context.h"
#include "client/client_location.h"
#include "core/build_number.h"

namespace huevane::cli {

// The name of the client's executable, which its installer puts beside buddyui.ocm.
inline constexpr std::string_view kClientExecutableName = "aim.exe";

// The client's build, read from its executable, and the version list entry that holds it.
struct DetectedBuild {
    std::int16_t version;
    BuildNumber build;
};

// The client of a command line: found once, on first use.
class ClientChoice {
public:
    explicit ClientChoice(const CommandContext& context) : args_(context.args), fs_(context.fs) {}

    // From --dir, else from the registry (Windows) or the Wine prefix's user.reg: --prefix,
    // else the default prefix.
    const client::ClientLocation& Location();

    // buddyui.ocm in the install directory, in whatever letter case it has there.
    std::string Target();

    // The build that the client's executable names; raises RunError saying why it cannot be
    // told.
    DetectedBuild Detect();

    // --build when given, checked against the detected build unless --force; else the detected
    // build; else the build that a theme was saved on, when there is one.
    std::int16_t Version(Access access, std::optional<std::int16_t> themeVersion = std::nullopt);

private:
    std::string Executable();
    std::int16_t DetectedVersionOr(std::optional<std::int16_t> themeVersion);
    void RefuseDisagreement(std::int16_t version, Access access);

    const Arguments& args_;
    FileSystem& fs_;
    std::optional<client::ClientLocation> location_;
};

}  // namespace huevane::cli
