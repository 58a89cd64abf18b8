// Times the Apply command on synthetic modules against the floor of any safe rewrite: a
// streamed copy to a new file, flushed and renamed over the original.
//
//   huevane_bench [directory]    (default: the current directory)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/native_file_system.h"
#include "ui/apply_command.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

constexpr std::size_t kChunk = 1 << 20;

void WriteSynthetic(const std::string& path, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> chunk(kChunk);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    for (std::size_t done = 0; done < size; done += chunk.size()) {
        out.write(chunk.data(), static_cast<std::streamsize>(std::min(chunk.size(), size - done)));
    }
}

// The floor: stream the file into a new one, flush it to disk, rename it over the original.
void CopyFlushRename(const std::string& path) {
    const std::string temp = path + ".floor";
    std::vector<char> buffer(kChunk);
#ifdef _WIN32
    HANDLE in = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    HANDLE out = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD got = 0;
    while (ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got) {
        DWORD wrote = 0;
        WriteFile(out, buffer.data(), got, &wrote, nullptr);
    }
    FlushFileBuffers(out);
    CloseHandle(out);
    CloseHandle(in);
    MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    const int in = ::open(path.c_str(), O_RDONLY);
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ssize_t got = 0;
    while ((got = ::read(in, buffer.data(), buffer.size())) > 0) {
        if (::write(out, buffer.data(), static_cast<std::size_t>(got)) != got) {
            break;
        }
    }
    ::fsync(out);
    ::close(out);
    ::close(in);
    ::rename(temp.c_str(), path.c_str());
    const std::string dir =
        path.substr(0, path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
    const int d = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(d);
    ::close(d);
#endif
}

double PeakMemoryMiB() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
}

template <typename Action>
double MedianMs(int runs, Action action) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        action();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    auto fs = huevane::platform::MakeNativeFileSystem();
    std::printf("%-10s %12s %12s %8s %14s\n", "size", "apply ms", "floor ms", "ratio", "peak MiB");
    for (const std::size_t size : {std::size_t{400} * 1000, std::size_t{40} * 1000 * 1000}) {
        const std::string target = fs->JoinPath(dir, "buddyui.ocm");
        WriteSynthetic(target, size);
        huevane::ApplyInputs inputs;
        inputs.version = 3;
        inputs.property = 3;
        inputs.color = 0x00123456;
        inputs.installDir = dir;
        inputs.programDir = dir;
        const int runs = size > 1000000 ? 7 : 31;
        bool ok = true;
        const double applyMs = MedianMs(runs, [&] {
            ok = ok &&
                 huevane::RunApplyCommand(inputs, *fs).outcome == huevane::ApplyOutcome::kSuccess;
        });
        const double peak = PeakMemoryMiB();
        const double floorMs = MedianMs(runs, [&] { CopyFlushRename(target); });
        fs->Remove(target);
        if (!ok) {
            std::fprintf(stderr, "Apply failed\n");
            return 1;
        }
        std::printf("%-10zu %12.2f %12.2f %8.2f %14.1f\n", size, applyMs, floorMs,
                    applyMs / floorMs, peak);
    }
    return 0;
}
