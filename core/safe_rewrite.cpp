#include "core/safe_rewrite.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "core/ascii_case.h"
#include "core/entry_choice.h"
#include "core/run_error.h"

namespace huevane {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 20;

}  // namespace

std::optional<std::string> FindEntryIgnoringCase(FileSystem& fs, const std::string& dir,
                                                 std::string_view name) {
    std::vector<std::string> entries;
    try {
        entries = fs.ListDirectory(dir);
    } catch (const RunError& e) {
        // A directory of mode 0711 hides its names but lets a file be opened by its exact name.
        if (e.number() != ErrorNumber::kPermissionDenied ||
            !fs.Identify(fs.JoinPath(dir, std::string(name)))) {
            throw;
        }
        return std::string(name);
    }
    return ChooseEntry(entries, name,
                       [name](std::string_view entry) { return EqualsIgnoringCase(entry, name); });
}

std::string ExistingFilePath(FileSystem& fs, const std::string& dir, std::string_view name) {
    const std::optional<std::string> entry = FindEntryIgnoringCase(fs, dir, name);
    if (!entry) {
        throw RunError(ErrorNumber::kFileNotFound);
    }
    return fs.JoinPath(dir, *entry);
}

std::string FilePathFor(FileSystem& fs, const std::string& dir, std::string_view name) {
    const std::optional<std::string> entry = FindEntryIgnoringCase(fs, dir, name);
    return fs.JoinPath(dir, entry ? *entry : std::string(name));
}

namespace {

// Removes the new files that dead runs left beside destination, except destination itself and
// the files of keep, whatever they are named. Best effort: a leftover that stays does no harm.
void RemoveLeftovers(FileSystem& fs, const std::string& destination,
                     std::vector<std::string> keep) {
    try {
        keep.push_back(destination);
        std::vector<FileIdentity> kept;
        for (const std::string& path : keep) {
            if (const std::optional<FileIdentity> identity = fs.Identify(path)) {
                kept.push_back(*identity);
            }
        }
        for (const std::string& leftover : fs.FindLeftovers(destination)) {
            const std::optional<FileIdentity> identity = fs.Identify(leftover);
            if (identity && std::none_of(kept.begin(), kept.end(), [&](const FileIdentity& k) {
                    return k.SameFile(*identity);
                })) {
                fs.Remove(leftover);
            }
        }
    } catch (const RunError&) {
        // the leftovers stay for the next writer
    }
}

// Sets backup->failed for the errors raised while it lives, unless it was let go.
class BackupStep {
public:
    explicit BackupStep(BackupCopy* backup) noexcept : backup_(backup) {}
    BackupStep(const BackupStep&) = delete;
    BackupStep& operator=(const BackupStep&) = delete;
    ~BackupStep() {
        if (backup_ != nullptr && std::uncaught_exceptions() > exceptions_) {
            backup_->failed = true;
        }
    }

private:
    BackupCopy* backup_;
    int exceptions_ = std::uncaught_exceptions();
};

// The backup's side of a rewrite: its lock, taken after the file's, and its new file.
struct BackupWriter {
    BackupCopy* backup = nullptr;
    std::string path;
    std::unique_ptr<FileLock> lock;
    std::unique_ptr<NewFile> copy;
    std::string newPath;
};

// Takes the backup's lock, after the file's, and clears the leftovers beside it.
BackupWriter LockBackup(FileSystem& fs, BackupCopy* backup, const std::string& destination) {
    BackupWriter saved;
    if (backup) {
        const BackupStep step(backup);
        saved.backup = backup;
        saved.path = fs.ResolveLinks(backup->path);
        saved.lock = fs.LockForWriting(saved.path);
        if (saved.lock) {
            RemoveLeftovers(fs, saved.path, {destination});
        }
    }
    return saved;
}

// Streams source into copy through edit, and unedited into the backup's new file when there is
// one; raises error 57 when the file grows or shrinks meanwhile.
void CopyThrough(ReadableFile& source, std::uint64_t size, NewFile& copy, const ChunkEditor& edit,
                 BackupWriter& saved) {
    std::vector<char> buffer(kChunkSize);
    std::uint64_t offset = 0;
    while (const std::size_t count = source.Read(buffer)) {
        const std::span<char> chunk(buffer.data(), count);
        if (saved.copy) {
            const BackupStep step(saved.backup);
            saved.copy->Write(std::string_view(chunk.data(), chunk.size()));
        }
        if (edit) {
            edit(chunk, offset);
        }
        copy.Write(std::string_view(chunk.data(), chunk.size()));
        offset += count;
    }
    if (offset != size) {
        throw RunError(ErrorNumber::kDeviceIo, ErrorCause::kChangedWhileCopied);
    }
    copy.Flush();
    if (saved.copy) {
        const BackupStep step(saved.backup);
        saved.copy->Flush();
        saved.copy.reset();
    }
}

// Raises error 75 when the file read is the destination of a copy (nullopt in place) or the
// backup: it would be copied onto itself.
void RefuseCopiesOfItself(FileSystem& fs, const FileIdentity& read,
                          const std::optional<FileIdentity>& destination, BackupWriter& saved) {
    if (destination && destination->SameFile(read)) {
        throw RunError(ErrorNumber::kPathFileAccess);
    }
    if (saved.backup) {
        const BackupStep step(saved.backup);
        const std::optional<FileIdentity> old = fs.Identify(saved.path);
        if (old && old->SameFile(read)) {
            throw RunError(ErrorNumber::kPathFileAccess);
        }
    }
}

// Replaces the old backup with the new one. It comes last, so that the old backup stays until
// the file it was made for has changed; a failure here is the backup's, after that change.
void PutBackupInPlace(FileSystem& fs, BackupWriter& saved) {
    try {
        fs.Replace(saved.newPath, saved.path, std::move(saved.lock));
    } catch (...) {
        saved.backup->failed = true;
        saved.backup->fileChanged = true;
        fs.Remove(saved.newPath);
        throw;
    }
}

// Removes what dead runs left beside destination, but none of this run's own files: those of
// ours, the source of a copy and the backup. Only the holder of the lock knows that no other
// writer's new file is among them.
void RemoveLeftoversOfDeadRuns(FileSystem& fs, const std::string& destination,
                               std::vector<std::string> ours, const std::string* sourcePath,
                               const BackupWriter& saved) {
    if (sourcePath) {
        ours.push_back(*sourcePath);
    }
    if (saved.backup) {
        ours.push_back(saved.path);
    }
    RemoveLeftovers(fs, destination, std::move(ours));
}

// Rewrites destination from source, or in place when source is nullptr.
void Rewrite(FileSystem& fs, const std::string* sourcePath, const std::string& destinationPath,
             const ChunkEditor& edit, const RewriteCheck& check,
             const std::vector<std::string>& keep, BackupCopy* backup) {
    const std::string destination = fs.ResolveLinks(destinationPath);
    std::unique_ptr<FileLock> lock = fs.LockForWriting(destination);
    BackupWriter saved = LockBackup(fs, backup, destination);
    if (lock) {
        RemoveLeftoversOfDeadRuns(fs, destination, keep, sourcePath, saved);
    }
    std::unique_ptr<ReadableFile> source = fs.OpenRead(sourcePath ? *sourcePath : destination);
    const FileIdentity read = source->Identity();
    const std::optional<FileIdentity> before =
        sourcePath ? fs.Identify(destination) : std::optional<FileIdentity>(read);
    RefuseCopiesOfItself(fs, read, sourcePath ? before : std::nullopt, saved);
    if (check) {
        check(read.size, before);
    }
    std::unique_ptr<NewFile> copy = fs.CreateNewBeside(destination);
    const std::string newPath = copy->path();
    try {
        if (backup) {
            const BackupStep step(backup);
            saved.copy = fs.CreateNewBeside(saved.path);
            saved.newPath = saved.copy->path();
        }
        CopyThrough(*source, read.size, *copy, edit, saved);
        // Windows renames neither an open file nor over one that is open without sharing.
        copy.reset();
        source.reset();
        // A program that does not take the lock may have rewritten the file meanwhile; its
        // change must not be lost under ours.
        if (fs.Identify(destination) != before) {
            throw RunError(ErrorNumber::kFileAlreadyOpen);
        }
        fs.Replace(newPath, destination, std::move(lock));
    } catch (...) {
        copy.reset();
        fs.Remove(newPath);
        if (!saved.newPath.empty()) {
            saved.copy.reset();
            fs.Remove(saved.newPath);
        }
        throw;
    }
    if (backup) {
        PutBackupInPlace(fs, saved);
    }
}

}  // namespace

void RewriteInPlace(FileSystem& fs, const std::string& path, const ChunkEditor& edit,
                    const RewriteCheck& check, const std::vector<std::string>& keep,
                    BackupCopy* backup) {
    Rewrite(fs, nullptr, path, edit, check, keep, backup);
}

void CopyFileAtomically(FileSystem& fs, const std::string& source, const std::string& destination,
                        const RewriteCheck& check, const std::vector<std::string>& keep) {
    Rewrite(fs, &source, destination, {}, check, keep, nullptr);
}

}  // namespace huevane
