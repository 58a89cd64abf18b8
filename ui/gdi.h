#pragma once

#include <windows.h>

#include "ui/twips.h"

namespace huevane::ui {

// Owns a GDI object (font, brush) and deletes it.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle h) noexcept : h_(h) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    void reset(Handle h = nullptr) noexcept {
        if (h_ != nullptr) {
            DeleteObject(h_);
        }
        h_ = h;
    }
    Handle get() const noexcept { return h_; }

private:
    Handle h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

enum class FontStyle { kRegular, kBold, kBoldUnderlined };

// Tahoma 8.25 pt, the face both windows use.
HFONT CreateTahoma(FontStyle style, Dpi dpi);

// Tahoma with the given LOGFONT height (negative: the character height in pixels).
HFONT CreateTahomaOfHeight(FontStyle style, int height);

// Sets the font of every child window of parent.
void SetFontOfChildren(HWND parent, HFONT font);

}  // namespace huevane::ui
