#include "tests/ui/gui_support.h"

#include <cstring>

#include "ui/message_loop.h"

namespace huevane::test {

void PumpPending() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            continue;
        }
        if (!ui::TranslateDialogKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

bool PumpUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (predicate()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct Probe {
    HWND window;
    DWORD timeoutMs;
    bool answered;
};

DWORD WINAPI SendProbe(LPVOID param) {
    auto* probe = static_cast<Probe*>(param);
    DWORD_PTR result = 0;
    probe->answered = SendMessageTimeoutA(probe->window, WM_NULL, 0, 0, SMTO_BLOCK,
                                          probe->timeoutMs, &result) != 0;
    return 0;
}

}  // namespace

bool AnswersWhilePumping(HWND window, DWORD timeoutMs) {
    Probe probe{window, timeoutMs, false};
    HANDLE thread = CreateThread(nullptr, 0, SendProbe, &probe, 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        PumpPending();
    }
    CloseHandle(thread);
    return probe.answered;
}

void PressKey(HWND window, WORD key) {
    const UINT scan = MapVirtualKeyA(key, 0);
    PostMessageA(window, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, key, 1 | (scan << 16) | (1u << 30) | (1u << 31));
    PumpPending();
}

RECT ClientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

struct WindowSearch {
    DWORD process;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && IsWindowVisible(window) &&
        std::strcmp(className, search->className) == 0) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD process, const char* className) {
    WindowSearch search{process, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ProcessWindows(const char* className) {
    return VisibleWindowsOf(GetCurrentProcessId(), className);
}

HWND WaitForWindowOf(DWORD process, const char* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const std::vector<HWND> found = VisibleWindowsOf(process, className);
        if (!found.empty()) {
            return found.front();
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(10);
    }
}

bool ScriptedDialogs::ChooseColorDialog(CHOOSECOLORA& request) {
    colorRequests.push_back(request);
    if (!answer) {
        return false;
    }
    request.rgbResult = *answer;
    return true;
}

int ScriptedDialogs::MessageBoxDialog(HWND owner, const char* text, const char* caption,
                                      UINT style) {
    messageBoxes.push_back({owner, text, caption, style});
    return IDOK;
}

DialogWatcher::DialogWatcher(DWORD windowThread, std::function<void(HWND dialog)> handle)
    : windowThread_(windowThread), handle_(std::move(handle)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogWatcher::~DialogWatcher() {
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
}

DWORD WINAPI DialogWatcher::Run(LPVOID self) {
    auto* watcher = static_cast<DialogWatcher*>(self);
    for (int tries = 0; tries < 500; ++tries) {
        HWND dialog = nullptr;
        EnumThreadWindows(watcher->windowThread_, FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr) {
            Sleep(100);  // let the dialog finish setting itself up
            watcher->saw_ = true;
            watcher->handle_(dialog);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

}  // namespace huevane::test
