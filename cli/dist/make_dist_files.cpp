// make_dist_files: writes huevane-cli's bash completion and man page from its table of commands
// and options, at build time.
//
//   make_dist_files COMPLETION MAN_PAGE
// The date on the man page is SOURCE_DATE_EPOCH's when that is set, so that every build of one
// commit writes the same page.
#include <array>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/dist/bash_completion.h"
#include "cli/dist/man_page.h"
#include "huevane_version.h"

namespace {

// The day of SOURCE_DATE_EPOCH, else today's, in UTC, as YYYY-MM-DD.
std::string PageDate() {
    std::time_t time = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        time = static_cast<std::time_t>(std::stoll(epoch));
    }
    std::array<char, 11> day = {};
    std::strftime(day.data(), day.size(), "%Y-%m-%d", std::gmtime(&time));
    return day.data();
}

bool Write(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "make_dist_files: cannot write " << path << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_dist_files COMPLETION MAN_PAGE\n";
        return 2;
    }
    const bool written = Write(argv[1], huevane::cli::BashCompletion()) &&
                         Write(argv[2], huevane::cli::ManPage(HUEVANE_VERSION, PageDate()));
    return written ? 0 : 1;
}
