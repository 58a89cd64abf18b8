#include "ui/text_fit.h"

#include <cstdlib>

namespace huevane::ui {
namespace {

// Below this many pixels Tahoma stops being readable.
constexpr int kSmallestHeightPixels = 8;

class ScreenDc {
public:
    explicit ScreenDc(HFONT font) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        SelectObject(dc_, old_);
        ReleaseDC(nullptr, dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

int TextWidth(HFONT font, std::string_view text) {
    const ScreenDc dc(font);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
}

int LineHeight(HFONT font) {
    const ScreenDc dc(font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return static_cast<int>(metrics.tmHeight);
}

HFONT FittedTahoma(FontStyle style, Dpi dpi, const std::function<bool(HFONT)>& fits) {
    HFONT font = CreateTahoma(style, dpi);
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    for (int height = std::abs(static_cast<int>(lf.lfHeight)) - 1;
         !fits(font) && height >= kSmallestHeightPixels; --height) {
        DeleteObject(font);
        font = CreateTahomaOfHeight(style, -height);
    }
    return font;
}

}  // namespace huevane::ui
