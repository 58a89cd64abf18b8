#pragma once

#include <optional>
#include <string>

namespace huevane::ui {

// Under Wine, a prefix made by plain wineboot often has no Tahoma, and Wine then draws both
// windows in a wider font. Where Wine's own Tahoma files are on the host, they are loaded for
// this process only (nothing in the prefix changes). Does nothing on Windows, where Tahoma is a
// system font, and nothing where Tahoma is installed. Safe to call more than once.
void EnsureTahoma();

// The bytes of the font file at path, or nothing when path names anything but a regular file of
// at most 16 MiB (a FIFO, a device, a directory) or it cannot be read. Never waits for a writer.
std::optional<std::string> ReadFontFile(const std::wstring& path);

}  // namespace huevane::ui
