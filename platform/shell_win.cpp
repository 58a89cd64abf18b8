#include <windows.h>
#include <shellapi.h>

#include "platform/program_dir.h"
#include "platform/shell.h"

namespace huevane::modColors {

void OpenSite(const std::string& target) {
    const std::string directory = platform::ProgramDirectory();
    ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, directory.c_str(), SW_SHOWNORMAL);
}

}  // namespace huevane::modColors
