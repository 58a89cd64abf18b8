#pragma once
// Theme files: the colours that get --json printed, read back for set --from.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"

namespace huevane {

// The most bytes a theme file may have: a real one has well under 2 KiB.
inline constexpr std::size_t kMaxThemeBytes = std::size_t{64} * 1024;
inline constexpr const char* kMaxThemeText = "64 KiB";

// One colour of a theme file, and where it was: its line and its place in "properties".
struct ThemeColor {
    std::int16_t property;
    Rgb color;
    int line;
    std::size_t position;
    friend bool operator==(const ThemeColor&, const ThemeColor&) = default;
};

// What set --from reads: the JSON that get --json writes, or one written by hand.
struct Theme {
    // The version list entry of the build it was saved on, when it names one: it stands in for
    // the client's build only where that cannot be told.
    std::optional<std::int16_t> version;
    std::vector<ThemeColor> colors;
};

// Reads a theme file's bytes: UTF-8 (with or without a byte-order mark), or UTF-16 with its
// byte-order mark. Any mistake ends huevane-cli (RunError) with the file, line and field named.
// The file names properties and colours, and may name the build it was saved on, which does
// not limit where it applies.
Theme ReadThemeFile(const std::string& fileName, std::string_view bytes);

// Refuses (RunError) a theme that names a property the given build lacks, naming it.
void RefuseMissingProperties(const std::string& fileName, const Theme& theme, std::int16_t version);

}  // namespace huevane
