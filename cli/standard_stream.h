#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "core/run_error.h"

namespace huevane::cli {

enum class StandardStream { kOutput, kError };

// Where the bytes of a standard stream go: a POSIX descriptor, or a Windows handle (a console
// takes the UTF-8 text as UTF-16, a file or pipe takes the UTF-8 bytes).
class StreamSink {
public:
    virtual ~StreamSink() = default;
    // Writes all of bytes. Raises RunError with the system's text for why not.
    virtual void Write(std::string_view bytes) = 0;
    // Closes the stream. Raises RunError with the system's text for why not.
    virtual void Close() = 0;
    // Whether the stream shows its bytes to a person: a terminal or a console.
    virtual bool IsTerminal() const = 0;
};

std::unique_ptr<StreamSink> OpenStandardStream(StandardStream which);

// POSIX: a closed standard descriptor is taken by /dev/null opened the other way round, so that
// no file the program opens lands on it and a write to it fails as it would on the closed one.
// Windows: nothing to do.
void ReserveStandardStreams();

// A buffered stream over a sink that remembers its first failure, so that output that could not
// be written is an error however late it shows (a full disk often shows only at the end).
class StandardStreamBuf : public std::streambuf {
public:
    explicit StandardStreamBuf(std::unique_ptr<StreamSink> sink) : sink_(std::move(sink)) {}

    // Writes what is buffered and closes the stream. Raises the first failure, also one that
    // happened before, as RunError.
    void Finish();

    bool IsTerminal() const { return sink_->IsTerminal(); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool Drain();

    std::unique_ptr<StreamSink> sink_;
    std::string buffer_;
    std::optional<RunError> failure_;
    bool closed_ = false;
};

// Whether stream writes to a terminal: only a StandardStreamBuf over one does, so that a string
// stream or a file stream never counts as a terminal.
bool IsTerminal(const std::ostream& stream);

}  // namespace huevane::cli
