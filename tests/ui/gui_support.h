#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/registry_guard.h"
#include "ui/system_dialogs.h"

namespace huevane::test {

// Runs the program's message handling (dialog keys included) until predicate holds or the
// time is up; returns whether it held.
bool PumpUntil(const std::function<bool()>& predicate, DWORD timeoutMs = 2000);
// Runs the message handling until the queue is empty.
void PumpPending();

// Whether window answers a message sent from another thread within timeoutMs, as Windows asks
// to tell a hung window; this thread runs the message handling meanwhile.
bool AnswersWhilePumping(HWND window, DWORD timeoutMs);

// Posts a key press (down and up) to window, as the keyboard would send it to the focus.
void PressKey(HWND window, WORD key);

// Client-relative rectangle of a child window.
RECT ClientRectOf(HWND child);

std::string WindowText(HWND window);

// Visible top-level windows of a process, or of this process, with the given class.
std::vector<HWND> VisibleWindowsOf(DWORD process, const char* className);
std::vector<HWND> ProcessWindows(const char* className);
// The first such window of process, waiting for it to appear; null when time runs out.
HWND WaitForWindowOf(DWORD process, const char* className, DWORD timeoutMs = 10000);

// The colour dialog and the message box, answered by the test.
class ScriptedDialogs final : public ui::SystemDialogs {
public:
    struct MessageBoxCall {
        HWND owner;
        std::string text;
        std::string caption;
        UINT style;
    };

    // The colour the next dialogs confirm; nullopt cancels them.
    std::optional<COLORREF> answer;
    std::vector<CHOOSECOLORA> colorRequests;
    std::vector<MessageBoxCall> messageBoxes;

    bool ChooseColorDialog(CHOOSECOLORA& request) override;
    int MessageBoxDialog(HWND owner, const char* text, const char* caption, UINT style) override;
};

// Watches, on a thread of its own, for a dialog box that the window thread opens, and hands
// it to handle (which reads it and closes it).
class DialogWatcher {
public:
    DialogWatcher(DWORD windowThread, std::function<void(HWND dialog)> handle);
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    ~DialogWatcher();
    bool sawDialog() const { return saw_; }

private:
    static DWORD WINAPI Run(LPVOID self);
    DWORD windowThread_;
    std::function<void(HWND)> handle_;
    HANDLE thread_ = nullptr;
    volatile bool saw_ = false;
};

}  // namespace huevane::test
