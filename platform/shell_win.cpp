#include <windows.h>
#include <shellapi.h>

#include "platform/lazy_proc.h"
#include "platform/program_dir.h"
#include "platform/shell.h"

namespace huevane::modColors {

void OpenSite(const std::string& target) {
    static const auto shellExecute =
        platform::LazyProc<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (shellExecute == nullptr) {
        return;
    }
    const std::string directory = platform::ProgramDirectory();
    shellExecute(nullptr, nullptr, target.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL);
}

}  // namespace huevane::modColors
