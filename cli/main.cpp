// huevane-cli: the patcher for scripts and for Wine installs on Linux.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/native_file_system.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    huevane::platform::RemoveNewFileOnSignals();
    const auto fs = huevane::platform::MakeNativeFileSystem();
    return huevane::cli::RunCli(args, std::cout, std::cerr, *fs);
}
