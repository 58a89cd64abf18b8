// Starts a window program and works it from outside, for the start-up benchmark and the
// README's screenshots.
//
//   window_driver startup RUNS EXE...   median time from start to a visible window, per EXE
//   window_driver show EXE main|about SECONDS
//                                       opens Huevane (and its About window), prints the
//                                       screen rectangle that holds them, waits, closes it
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/frm_about.h"
#include "ui/frm_main.h"

namespace {

struct Search {
    DWORD process;
    const char* className;  // null: any class
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) {
        return TRUE;
    }
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (search->className == nullptr || std::string(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD process, const char* className, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Search search{process, className, nullptr};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(1);
    }
    return nullptr;
}

bool Start(const std::string& exe, PROCESS_INFORMATION& info) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info) != FALSE;
}

void CloseAndWait(PROCESS_INFORMATION& info, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

int Startup(int runs, const std::vector<std::string>& exes) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<std::vector<double>> times(exes.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < exes.size(); ++i) {  // alternate, so drift hits both alike
            LARGE_INTEGER begin{};
            QueryPerformanceCounter(&begin);
            PROCESS_INFORMATION info{};
            if (!Start(exes[i], info)) {
                std::fprintf(stderr, "cannot start %s\n", exes[i].c_str());
                return 1;
            }
            HWND window = WaitForWindow(info.dwProcessId, nullptr);
            LARGE_INTEGER end{};
            QueryPerformanceCounter(&end);
            if (window == nullptr) {
                std::fprintf(stderr, "%s showed no window\n", exes[i].c_str());
                return 1;
            }
            times[i].push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
            CloseAndWait(info, window);
        }
    }
    for (std::size_t i = 0; i < exes.size(); ++i) {
        std::sort(times[i].begin(), times[i].end());
        std::printf("%-60s median %8.1f ms  (min %.1f, max %.1f, %d runs)\n", exes[i].c_str(),
                    times[i][times[i].size() / 2], times[i].front(), times[i].back(), runs);
    }
    return 0;
}

int Show(const std::string& exe, const std::string& what, int seconds) {
    PROCESS_INFORMATION info{};
    if (!Start(exe, info)) {
        return 1;
    }
    HWND mainWindow = WaitForWindow(info.dwProcessId, huevane::ui::kMainWindowClass);
    if (mainWindow == nullptr) {
        return 1;
    }
    RECT area{};
    GetWindowRect(mainWindow, &area);
    if (what == "about") {
        PostMessageA(GetDlgItem(mainWindow, huevane::ui::kIdHelp), BM_CLICK, 0, 0);
        HWND about = WaitForWindow(info.dwProcessId, huevane::ui::kAboutWindowClass);
        if (about == nullptr) {
            return 1;
        }
        RECT mainRect{};
        RECT aboutRect{};
        GetWindowRect(mainWindow, &mainRect);
        GetWindowRect(about, &aboutRect);
        const int gap = 16;
        const int width =
            (mainRect.right - mainRect.left) + gap + (aboutRect.right - aboutRect.left);
        const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        SetWindowPos(mainWindow, nullptr, left, mainRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(about, nullptr, left + (mainRect.right - mainRect.left) + gap, aboutRect.top,
                     0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Sleep(300);
        GetWindowRect(mainWindow, &mainRect);
        GetWindowRect(about, &aboutRect);
        UnionRect(&area, &mainRect, &aboutRect);
    }
    std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    CloseAndWait(info, mainWindow);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args[0] == "startup") {
        return Startup(std::atoi(args[1].c_str()),
                       std::vector<std::string>(args.begin() + 2, args.end()));
    }
    if (args.size() == 4 && args[0] == "show") {
        return Show(args[1], args[2], std::atoi(args[3].c_str()));
    }
    std::fprintf(stderr,
                 "usage: window_driver startup RUNS EXE... | show EXE main|about SECONDS\n");
    return 2;
}
