#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/run_error.h"

namespace huevane::test {

enum class FileStep {
    kList,
    kOpen,
    kRead,
    kLock,
    kCreate,
    kWrite,
    kFlush,
    kReplace,
    kFindLeftovers,  // best effort: never recorded and never made to fail, only intervened at
};

const char* StepName(FileStep step);

// Passes every call on to a real file system, records each step in order, and can make any
// one recorded step fail with a device I/O error instead of running it.
class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    // Makes the step with this position in steps() fail, with error `number`.
    void FailAt(std::size_t stepIndex, ErrorNumber number = ErrorNumber::kDeviceIo) {
        failAt_ = stepIndex;
        failWith_ = number;
    }
    // Runs action, as another program would, just before the first step of this kind.
    void InterveneAt(FileStep step, std::function<void()> action) {
        interventions_[step] = std::move(action);
    }
    const std::vector<FileStep>& steps() const { return steps_; }

    // Counts the step and throws when it is the one chosen to fail.
    void Step(FileStep step);

    std::string JoinPath(const std::string& dir, const std::string& name) const override;
    std::vector<std::string> ListDirectory(const std::string& dir) override;
    std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override;
    std::optional<FileIdentity> Identify(const std::string& path) override;
    std::string ResolveLinks(const std::string& path) override;
    std::unique_ptr<FileLock> LockForWriting(const std::string& path) override;
    std::vector<std::string> FindLeftovers(const std::string& destination) override;
    std::unique_ptr<NewFile> CreateNewBeside(const std::string& destination) override;
    void Replace(const std::string& newPath, const std::string& destination,
                 std::unique_ptr<FileLock> lock) override;
    void Remove(const std::string& path) noexcept override;
    void SetWaitNotice(std::function<void()> notice) override {
        real_.SetWaitNotice(std::move(notice));
    }

private:
    FileSystem& real_;
    std::vector<FileStep> steps_;
    std::optional<std::size_t> failAt_;
    ErrorNumber failWith_ = ErrorNumber::kDeviceIo;
    std::map<FileStep, std::function<void()>> interventions_;

    void Intervene(FileStep step);
};

// A one-shot event between threads: Wait() returns once Set() has been called. (The Windows
// builds have no C++ thread library.)
class Gate {
public:
    Gate();
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    ~Gate();
    void Set();
    void Wait();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace huevane::test
