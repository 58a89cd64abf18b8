#pragma once
// Theme files: the colours that get --json printed, read back for set --from.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace huevane::cli {

// One colour of a theme file, and the line it was on.
struct ThemeColor {
    std::int16_t property;
    std::int32_t color;
    int line;
};

// What set --from reads: the JSON that get --json writes.
struct Theme {
    std::int16_t version = -1;
    int buildLine = 0;
    std::vector<ThemeColor> colors;
};

// Reads a theme file's text. Any mistake ends huevane-cli (CliError) with the file, line and
// field named.
Theme ReadThemeFile(const std::string& fileName, std::string_view text);

}  // namespace huevane::cli
