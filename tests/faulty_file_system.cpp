#include "tests/faulty_file_system.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#endif

#include "core/run_error.h"

namespace huevane::test {
namespace {

class FaultyReadableFile final : public ReadableFile {
public:
    FaultyReadableFile(FaultyFileSystem& owner, std::unique_ptr<ReadableFile> real)
        : owner_(owner), real_(std::move(real)) {}

    std::uint64_t Size() override { return real_->Size(); }
    FileIdentity Identity() override { return real_->Identity(); }
    void Seek(std::uint64_t offset) override { real_->Seek(offset); }

    std::size_t Read(std::span<char> buffer) override {
        owner_.Step(FileStep::kRead);
        return real_->Read(buffer);
    }

private:
    FaultyFileSystem& owner_;
    std::unique_ptr<ReadableFile> real_;
};

class FaultyNewFile final : public NewFile {
public:
    FaultyNewFile(FaultyFileSystem& owner, std::unique_ptr<NewFile> real)
        : owner_(owner), real_(std::move(real)) {}

    const std::string& path() const override { return real_->path(); }

    void Write(std::string_view bytes) override {
        owner_.Step(FileStep::kWrite);
        real_->Write(bytes);
    }

    void Flush() override {
        owner_.Step(FileStep::kFlush);
        real_->Flush();
    }

private:
    FaultyFileSystem& owner_;
    std::unique_ptr<NewFile> real_;
};

}  // namespace

const char* StepName(FileStep step) {
    switch (step) {
        case FileStep::kList:
            return "list";
        case FileStep::kOpen:
            return "open";
        case FileStep::kRead:
            return "read";
        case FileStep::kLock:
            return "lock";
        case FileStep::kCreate:
            return "create";
        case FileStep::kWrite:
            return "write";
        case FileStep::kFlush:
            return "flush";
        case FileStep::kReplace:
            return "replace";
        case FileStep::kFindLeftovers:
            return "find leftovers";
    }
    return "?";
}

void FaultyFileSystem::Intervene(FileStep step) {
    const auto found = interventions_.find(step);
    if (found != interventions_.end()) {
        const std::function<void()> action = std::move(found->second);
        interventions_.erase(found);
        action();
    }
}

void FaultyFileSystem::Step(FileStep step) {
    Intervene(step);
    const std::size_t index = steps_.size();
    steps_.push_back(step);
    if (failAt_ && *failAt_ == index) {
        throw RunError(failWith_);
    }
}

std::string FaultyFileSystem::JoinPath(const std::string& dir, const std::string& name) const {
    return real_.JoinPath(dir, name);
}

std::vector<std::string> FaultyFileSystem::ListDirectory(const std::string& dir) {
    Step(FileStep::kList);
    return real_.ListDirectory(dir);
}

std::unique_ptr<ReadableFile> FaultyFileSystem::OpenRead(const std::string& path) {
    Step(FileStep::kOpen);
    return std::make_unique<FaultyReadableFile>(*this, real_.OpenRead(path));
}

std::optional<FileIdentity> FaultyFileSystem::Identify(const std::string& path) {
    return real_.Identify(path);
}

std::string FaultyFileSystem::ResolveLinks(const std::string& path) {
    return real_.ResolveLinks(path);
}

std::unique_ptr<FileLock> FaultyFileSystem::LockForWriting(const std::string& path) {
    Step(FileStep::kLock);
    return real_.LockForWriting(path);
}

std::vector<std::string> FaultyFileSystem::FindLeftovers(const std::string& destination) {
    Intervene(FileStep::kFindLeftovers);
    return real_.FindLeftovers(destination);
}

std::unique_ptr<NewFile> FaultyFileSystem::CreateNewBeside(const std::string& destination) {
    Step(FileStep::kCreate);
    return std::make_unique<FaultyNewFile>(*this, real_.CreateNewBeside(destination));
}

void FaultyFileSystem::Replace(const std::string& newPath, const std::string& destination,
                               std::unique_ptr<FileLock> lock) {
    Step(FileStep::kReplace);
    real_.Replace(newPath, destination, std::move(lock));
}

void FaultyFileSystem::Remove(const std::string& path) noexcept {
    real_.Remove(path);
}

}  // namespace huevane::test

namespace huevane::test {

#ifdef _WIN32
struct Gate::State {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

Gate::Gate() : state_(std::make_unique<State>()) {}
Gate::~Gate() {
    CloseHandle(state_->event);
}
void Gate::Set() {
    SetEvent(state_->event);
}
void Gate::Wait() {
    WaitForSingleObject(state_->event, INFINITE);
}
#else
struct Gate::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
};

Gate::Gate() : state_(std::make_unique<State>()) {}
Gate::~Gate() = default;
void Gate::Set() {
    const std::lock_guard<std::mutex> hold(state_->mutex);
    state_->set = true;
    state_->changed.notify_all();
}
void Gate::Wait() {
    std::unique_lock<std::mutex> hold(state_->mutex);
    state_->changed.wait(hold, [this] { return state_->set; });
}
#endif

}  // namespace huevane::test
