#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace huevane::test {

// A fresh directory under the system's temp directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return path_; }
    // The path of name inside this directory, with the native separator.
    std::string File(std::string_view name) const;
    // Makes a subdirectory and returns its path.
    std::string MakeSubdir(std::string_view name) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
void MakeReadOnly(const std::string& path);

// Names of the entries of dir, to prove that no stray file was left behind.
std::set<std::string> EntryNames(const std::string& dir);

// A synthetic module image: a byte pattern in which neighbouring bytes differ, so a write at a
// wrong offset or of the wrong length always shows.
std::string SyntheticImage(std::size_t size, unsigned seed = 1);

// Runs first on a thread of its own while second runs on this one; returns when both are done.
// (The Windows builds have no C++ thread library.)
void RunTogether(const std::function<void()>& first, const std::function<void()>& second);

// Offsets where two byte strings differ.
std::set<std::size_t> DifferingOffsets(std::string_view a, std::string_view b);

}  // namespace huevane::test
