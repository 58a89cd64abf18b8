#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/file_system.h"

namespace huevane {

// Bytes in memory read as an open file, for the readers that take a ReadableFile.
class MemoryFile final : public ReadableFile {
public:
    explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t Size() override { return bytes_.size(); }
    FileIdentity Identity() override { return {0, 0, bytes_.size(), 0}; }
    void Seek(std::uint64_t offset) override {
        position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size()));
    }
    std::size_t Read(std::span<char> buffer) override {
        const std::size_t count = std::min(buffer.size(), bytes_.size() - position_);
        std::memcpy(buffer.data(), bytes_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace huevane
