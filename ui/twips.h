#pragma once

#include <windows.h>

namespace huevane::ui {

// A rectangle in twips (1/1440 inch): left, top, width, height.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// The screen's dots per inch, across and down.
struct Dpi {
    int x;
    int y;
};

Dpi ScreenDpi();

inline int TwipsToPixels(int twips, int dotsPerInch) {
    return MulDiv(twips, dotsPerInch, 1440);
}

// The pixel rectangle of a twip rectangle (left, top, right, bottom).
RECT ToPixels(const TwipRect& twips, Dpi dpi);

// The font height for a point size given in hundredths of a point (825 for 8.25 pt).
int FontHeightFromCentipoints(int centipoints, Dpi dpi);

}  // namespace huevane::ui
