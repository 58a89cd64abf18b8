#pragma once

#include <istream>
#include <ostream>

#include "cli/arguments.h"
#include "core/file_system.h"

namespace huevane::cli {

// What every command runs with: its command line, the standard streams and the files.
struct CommandContext {
    const Arguments& args;
    std::istream& in;  // what set --from - reads
    std::ostream& out;
    std::ostream& err;
    FileSystem& fs;
    bool outIsTerminal;  // data on out then gets its control characters escaped
};

// Whether a command reads the client's buddyui.ocm or writes it.
enum class Access { kRead, kWrite };

}  // namespace huevane::cli
