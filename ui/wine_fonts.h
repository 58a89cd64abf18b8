#pragma once

namespace huevane::ui {

// Under Wine, a prefix made by plain wineboot often has no Tahoma, and Wine then draws both
// windows in a wider font. Where Wine's own Tahoma files are on the host, they are loaded for
// this process only (nothing in the prefix changes). Does nothing on Windows, where Tahoma is a
// system font, and nothing where Tahoma is installed. Safe to call more than once.
void EnsureTahoma();

}  // namespace huevane::ui
