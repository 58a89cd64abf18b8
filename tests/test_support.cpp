#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

namespace fs = std::filesystem;

namespace huevane::test {
namespace {

// Paths are UTF-8 text in this program; std::filesystem on Windows takes a narrow string in the
// ANSI code page instead.
fs::path PathOf(std::string_view path) {
#ifdef _WIN32
    return {std::u8string(path.begin(), path.end())};
#else
    return {path};
#endif
}

std::string TextOf(const fs::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
#else
    return path.string();
#endif
}

void MakeTreeWritable(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path dir = fs::temp_directory_path() / ("huevane-test-" + std::to_string(stamp) +
                                                      "-" + std::to_string(++counter));
    fs::create_directories(dir);
    path_ = TextOf(dir);
}

TempDir::~TempDir() {
    MakeTreeWritable(PathOf(path_));
    std::error_code ec;
    fs::remove_all(PathOf(path_), ec);
}

std::string TempDir::File(std::string_view name) const {
    return TextOf(PathOf(path_) / PathOf(name));
}

std::string TempDir::MakeSubdir(std::string_view name) const {
    std::string dir = File(name);
    fs::create_directories(PathOf(dir));
    return dir;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(PathOf(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

std::set<std::string> EntryNames(const std::string& dir) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(dir))) {
        names.insert(TextOf(entry.path().filename()));
    }
    return names;
}

std::string SyntheticImage(std::size_t size, unsigned seed) {
    std::string image(size, '\0');
    unsigned state = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        image[i] = static_cast<char>((state >> 16) & 0xFF);
        if (i > 0 && image[i] == image[i - 1]) {
            image[i] = static_cast<char>(image[i] ^ 0x5A);
        }
    }
    return image;
}

std::set<std::size_t> DifferingOffsets(std::string_view a, std::string_view b) {
    std::set<std::size_t> offsets;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i >= a.size() || i >= b.size() || a[i] != b[i]) {
            offsets.insert(i);
        }
    }
    return offsets;
}

#ifdef _WIN32
namespace {

DWORD WINAPI RunFunction(void* function) {
    (*static_cast<const std::function<void()>*>(function))();
    return 0;
}

}  // namespace

void RunTogether(const std::function<void()>& first, const std::function<void()>& second) {
    HANDLE thread = CreateThread(nullptr, 0, RunFunction,
                                 const_cast<std::function<void()>*>(&first), 0, nullptr);
    if (thread == nullptr) {
        throw std::runtime_error("cannot start a thread");
    }
    second();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
#else
void RunTogether(const std::function<void()>& first, const std::function<void()>& second) {
    std::thread thread(first);
    second();
    thread.join();
}
#endif

}  // namespace huevane::test
