#include "ui/twips.h"

namespace huevane::ui {

Dpi ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const Dpi dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT ToPixels(const TwipRect& twips, Dpi dpi) {
    const int left = TwipsToPixels(twips.left, dpi.x);
    const int top = TwipsToPixels(twips.top, dpi.y);
    return RECT{left, top, left + TwipsToPixels(twips.width, dpi.x),
                top + TwipsToPixels(twips.height, dpi.y)};
}

int FontHeightFromCentipoints(int centipoints, Dpi dpi) {
    return -MulDiv(centipoints, dpi.y, 7200);
}

}  // namespace huevane::ui
