#include "tests/process_runner.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/utf16.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace huevane::test {

#ifdef _WIN32

namespace {

// Quotes one argument the way the C runtime splits a command line.
std::string Quote(const std::string& arg) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

HANDLE OpenForChild(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env,
                         StandardOutput output) {
    TempDir dir;
    const std::string outPath = dir.File("out.txt");
    const std::string errPath = dir.File("err.txt");
    std::string commandLine = Quote(program);
    for (const std::string& arg : args) {
        commandLine += " " + Quote(arg);
    }
    for (const auto& [name, value] : env) {
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    HANDLE in = OpenForChild("NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = output == StandardOutput::kWritable
                     ? OpenForChild(outPath, GENERIC_WRITE, CREATE_ALWAYS)
                     : OpenForChild(outPath, GENERIC_READ, CREATE_ALWAYS);
    HANDLE err = OpenForChild(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    ProcessResult result;
    // The W call, so that arguments in any script arrive whole.
    const std::u16string units = Utf8ToUtf16(commandLine);
    std::wstring wideCommandLine(units.begin(), units.end());
    if (CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info)) {
        WaitForSingleObject(info.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        result.exitStatus = static_cast<int>(code);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    for (const auto& [name, value] : env) {
        SetEnvironmentVariableA(name.c_str(), nullptr);
    }
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    // The C runtime writes text mode: "\r\n" line ends.
    for (std::string* text : {&result.out, &result.err}) {
        std::erase(*text, '\r');
    }
    return result;
}

#else

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env,
                         StandardOutput output) {
    TempDir dir;
    const std::string outPath = dir.File("out.txt");
    const std::string errPath = dir.File("err.txt");
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = output == StandardOutput::kWritable
                            ? open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)
                            : open(outPath.c_str(), O_RDONLY | O_CREAT, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (const auto& [name, value] : env) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ProcessResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}

#endif

}  // namespace huevane::test
