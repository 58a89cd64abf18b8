#pragma once

#include <string>
#include <string_view>

namespace huevane::cli {

// The Wine prefix to read: $WINEPREFIX when set (it must be absolute), else $HOME/.wine. Raises
// RunError saying why when there is none.
std::string DefaultWinePrefix();

// The host path of a Windows path ("C:\Program Files\AIM\aim.exe") inside a Wine prefix: the
// drive through the prefix's dosdevices/<letter>: link, then each component matched without
// regard to letter case, as Wine does on a case-sensitive file system. Every component must
// exist. The path is read as Windows reads it (NormalizeWindowsPath): ".." never leaves the
// drive. Raises RunError naming what is missing.
std::string MapWindowsPath(const std::string& prefix, std::string_view registeredPath);

}  // namespace huevane::cli
