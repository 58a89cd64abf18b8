// huevane-cli: the patcher for scripts and for Wine installs on Linux.
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_error.h"
#include "cli/error_messages.h"
#include "cli/run_cli.h"
#include "cli/standard_stream.h"
#include "platform/native_file_system.h"

#ifdef _WIN32
#include "core/utf16.h"
#endif

namespace {

using huevane::cli::StandardStream;
using huevane::cli::StandardStreamBuf;

int Run(const std::vector<std::string>& args) {
    huevane::cli::ReserveStandardStreams();
    // Said only before a file is replaced; after that, an interrupt lets the run finish.
    huevane::platform::StopOnInterrupt(huevane::cli::kInterruptedLine);
    StandardStreamBuf outBuffer(huevane::cli::OpenStandardStream(StandardStream::kOutput));
    StandardStreamBuf errBuffer(huevane::cli::OpenStandardStream(StandardStream::kError));
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    err.tie(&out);  // what the command printed comes before a message about it
    err.setf(std::ios::unitbuf);
    const auto fs = huevane::platform::MakeNativeFileSystem();
    int status = huevane::cli::RunCli(args, out, err, *fs);
    // Output that did not arrive whole is an error, also when it fails only on closing.
    try {
        outBuffer.Finish();
    } catch (const huevane::RunError& e) {
        err << huevane::cli::OutputFailureLine(e);
        if (status == 0) {
            status = huevane::cli::kExitError;
        }
    }
    try {
        errBuffer.Finish();
    } catch (const huevane::RunError&) {  // nowhere left to say it
    }
    return status;
}

}  // namespace

#ifdef _WIN32
// The arguments as Windows has them, in UTF-16, so that a path in any script arrives whole.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg(argv[i]);
        args.push_back(huevane::Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
