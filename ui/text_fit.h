#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "ui/gdi.h"
#include "ui/twips.h"

namespace huevane::ui {

// The width of text on one line, and the height of a line, in pixels on the screen.
int TextWidth(HFONT font, std::string_view text);
int LineHeight(HFONT font);

// Tahoma at its usual 8.25 pt where fits holds for it, else the largest smaller size, a pixel
// at a time, for which it holds; the smallest size tried when none does. Where the system's
// font is wider than Windows' Tahoma (Wine without it), this keeps a text whole in its place
// instead of cutting it off; with Windows' Tahoma the usual size always fits.
HFONT FittedTahoma(FontStyle style, Dpi dpi, const std::function<bool(HFONT)>& fits);

}  // namespace huevane::ui
