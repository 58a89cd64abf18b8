// detect: the client's build, read from its executable.
#include <string>

#include "cli/client_choice.h"
#include "cli/commands/commands.h"
#include "formats/json_writer.h"
#include "formats/list_lookup.h"

namespace huevane::cli {

void Detect(const CommandContext& context) {
    ClientChoice client(context);
    const DetectedBuild detected = client.Detect();
    const std::string build = BuildNumberText(detected.build);
    if (context.args.json) {
        context.out << JsonObject({JsonMember("file_version", JsonQuote(build)),
                                   JsonMember("build", VersionJson(detected.version))})
                    << "\n";
        return;
    }
    context.out << "build " << build << ": version " << detected.version << " \""
                << VersionText(detected.version) << "\"\n";
}

}  // namespace huevane::cli
