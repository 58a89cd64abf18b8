// locate: the client's install directory, and where it came from.
#include <string>
#include <string_view>

#include "cli/client_choice.h"
#include "cli/commands/commands.h"
#include "core/clipped_text.h"
#include "formats/json_writer.h"

namespace huevane::cli {
namespace {

// A line of data on standard output: the exact bytes for a pipe or a file, where a script reads
// them; with control characters escaped for a terminal, which would act on them.
std::string OutputLine(std::string_view data, bool toTerminal) {
    return (toTerminal ? Escaped(data) : std::string(data)) + "\n";
}

}  // namespace

void Locate(const CommandContext& context) {
    ClientChoice client(context);
    const client::ClientLocation& location = client.Location();
    if (context.args.json) {
        const std::string executable = location.executable.empty()
                                           ? JsonMember("executable", "null")
                                           : JsonTextMember("executable", location.executable);
        context.out << JsonObject({JsonTextMember("install_dir", location.installDir), executable,
                                   JsonTextMember("source", location.source)})
                    << "\n";
        return;
    }
    // Only the directory on standard output, for dir=$(huevane-cli locate), never clipped.
    context.out << OutputLine(location.installDir, context.outIsTerminal);
    context.err << "(from " << Clipped(location.source) << ")\n";
}

}  // namespace huevane::cli
