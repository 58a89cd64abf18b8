#pragma once

#include <windows.h>

namespace huevane::ui {

// Lets a colour swatch (a label with SS_NOTIFY and WS_TABSTOP) serve the keyboard: it shows a
// focus rectangle while it has the focus, and Enter or Space on it tell its parent the same as
// a double-click does (STN_DBLCLK).
void MakeSwatchKeyboardReachable(HWND swatch);

}  // namespace huevane::ui
