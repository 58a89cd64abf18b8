#include <windows.h>
#include <shellapi.h>

#include "platform/lazy_proc.h"
#include "platform/program_dir.h"
#include "platform/shell.h"
#include "platform/win_text.h"

namespace huevane::modColors {

void OpenSite(const std::string& target) {
    static const auto shellExecute =
        platform::LazyProc<decltype(&ShellExecuteW)>("shell32.dll", "ShellExecuteW");
    if (shellExecute == nullptr) {
        return;
    }
    const std::wstring directory = platform::Wide(platform::ProgramDirectory());
    // A working directory longer than the shell takes would make it refuse the whole call.
    shellExecute(nullptr, nullptr, platform::Wide(target).c_str(), nullptr,
                 directory.size() < MAX_PATH ? directory.c_str() : nullptr, SW_SHOWNORMAL);
}

}  // namespace huevane::modColors
