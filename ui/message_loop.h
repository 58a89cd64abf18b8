#pragma once

#include <windows.h>

namespace huevane::ui {

// Lets Tab, the arrow keys, Enter, Escape and Space work in the program's windows as in a
// dialog. True when the message was handled and must not be dispatched.
bool TranslateDialogKeys(MSG& msg);

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

}  // namespace huevane::ui
