#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/standard_stream.h"

namespace huevane::cli {
namespace {

class DescriptorSink : public StreamSink {
public:
    explicit DescriptorSink(int fd) : fd_(fd) {}

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                throw RunError(ErrorNumber::kDeviceIo,
                               written < 0 ? std::strerror(errno) : "nothing written");
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    // close reports what a network file system or a full disk held back until now.
    void Close() override {
        if (::close(fd_) != 0 && errno != EINTR) {
            throw RunError(ErrorNumber::kDeviceIo, std::strerror(errno));
        }
    }

    bool IsTerminal() const override { return ::isatty(fd_) == 1; }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<StreamSink> OpenStandardStream(StandardStream which) {
    return std::make_unique<DescriptorSink>(which == StandardStream::kOutput ? STDOUT_FILENO
                                                                             : STDERR_FILENO);
}

void ReserveStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int taken = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (taken >= 0 && taken != fd) {
            ::dup2(taken, fd);
            ::close(taken);
        }
    }
}

}  // namespace huevane::cli
