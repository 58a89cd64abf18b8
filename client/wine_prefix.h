#pragma once

#include <string>
#include <string_view>

namespace huevane::client {

// The Wine prefix to read: $WINEPREFIX when set (it must be absolute), else $HOME/.wine. Raises
// RunError saying why when there is none.
std::string DefaultWinePrefix();

// How a program opens a path: as the file or folder it names, or as the folder of the files it
// opens in it ("C:\AIM." of "C:\AIM.\buddyui.ocm"). The last component of the first loses all
// its trailing dots and spaces; that of the second only one dot, as every folder of a path does.
enum class OpenedAs { kItself, kFolderOfFiles };

// The host path of a Windows path ("C:\Program Files\AIM\aim.exe") inside a Wine prefix, found by
// Wine's rules: the drive through the prefix's dosdevices/<letter>: link, then each component as
// Win32 hands it on (".." never leaves the drive, one trailing dot goes, and all trailing dots
// and spaces of a last component opened as itself) and as Wine finds it on a case-sensitive
// file system (the exact spelling, else one in other letter case, with Wine's case mapping).
// Every component must exist. Raises RunError naming what is missing, or the path when no file
// under Wine can have it (a lone surrogate, a character Windows forbids in names).
std::string MapWindowsPath(const std::string& prefix, std::string_view registeredPath,
                           OpenedAs openedAs);

}  // namespace huevane::client
