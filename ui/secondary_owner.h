#pragma once

#include <windows.h>

namespace huevane::ui {

// A hidden top-level window that owns the program's secondary windows: an owned window stays
// out of the task bar, and since the main window is not its owner, either can be in front.
class SecondaryOwner {
public:
    SecondaryOwner();
    SecondaryOwner(const SecondaryOwner&) = delete;
    SecondaryOwner& operator=(const SecondaryOwner&) = delete;
    ~SecondaryOwner();

    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace huevane::ui
