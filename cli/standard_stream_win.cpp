#include <windows.h>

#include <algorithm>
#include <optional>

#include "cli/standard_stream.h"
#include "core/utf16.h"
#include "platform/win_text.h"

namespace huevane::cli {
namespace {

// Small enough for any console's write limit.
constexpr std::size_t kConsoleChunk = 4096;

// The system's words for error, as one line without its closing full stop.
[[noreturn]] void RaiseSystemError(DWORD error) {
    std::string text = platform::SystemErrorText(error);
    while (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    throw RunError(ErrorNumber::kDeviceIo, text);
}

// How many bytes of text end on a whole UTF-8 character: an incomplete sequence at the end
// waits for the rest of it, which the next write brings.
std::size_t WholeCharacters(std::string_view text) {
    const std::size_t from = text.size() > 3 ? text.size() - 3 : 0;
    for (std::size_t pos = text.size(); pos-- > from;) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // a continuation byte: its lead is further back
        }
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > text.size() - pos ? pos : text.size();
    }
    return text.size();
}

class HandleSink : public StreamSink {
public:
    HandleSink(HANDLE handle, bool closes) : handle_(handle), closes_(closes) {
        DWORD mode = 0;
        console_ = IsValid() && GetConsoleMode(handle_, &mode) != 0;
    }

    void Write(std::string_view bytes) override {
        if (!IsValid()) {
            RaiseSystemError(ERROR_INVALID_HANDLE);
        }
        if (console_) {
            WriteToConsole(bytes);
        } else {
            WriteBytes(bytes);
        }
    }

    void Close() override {
        if (!IsValid()) {
            return;
        }
        std::optional<RunError> failure;
        if (console_ && !pending_.empty()) {
            try {
                WriteUnits(Utf8ToUtf16(pending_));  // a cut character, shown as U+FFFD
            } catch (const RunError& e) {
                failure = e;
            }
        }
        if (closes_ && !CloseHandle(handle_) && !failure) {
            RaiseSystemError(GetLastError());
        }
        if (failure) {
            throw *failure;
        }
    }

    bool IsTerminal() const override { return console_; }

private:
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    void WriteToConsole(std::string_view bytes) {
        pending_.append(bytes);
        const std::size_t whole = WholeCharacters(pending_);
        const std::u16string units = Utf8ToUtf16(std::string_view(pending_).substr(0, whole));
        pending_.erase(0, whole);
        WriteUnits(units);
    }

    void WriteUnits(const std::u16string& units) {
        std::size_t done = 0;
        while (done < units.size()) {
            const std::size_t count = std::min(units.size() - done, kConsoleChunk);
            const std::wstring chunk(units.begin() + static_cast<std::ptrdiff_t>(done),
                                     units.begin() + static_cast<std::ptrdiff_t>(done + count));
            DWORD written = 0;
            if (!WriteConsoleW(handle_, chunk.data(), static_cast<DWORD>(chunk.size()), &written,
                               nullptr)) {
                RaiseSystemError(GetLastError());
            }
            if (written == 0) {
                RaiseSystemError(ERROR_WRITE_FAULT);
            }
            done += written;
        }
    }

    // A file or pipe gets the UTF-8 bytes, with the CRLF line ends of Windows text files.
    void WriteBytes(std::string_view bytes) {
        std::string text;
        text.reserve(bytes.size() + bytes.size() / 16);
        for (const char c : bytes) {
            if (c == '\n') {
                text += '\r';
            }
            text += c;
        }
        std::string_view rest = text;
        while (!rest.empty()) {
            DWORD written = 0;
            if (!WriteFile(handle_, rest.data(), static_cast<DWORD>(rest.size()), &written,
                           nullptr)) {
                RaiseSystemError(GetLastError());
            }
            if (written == 0) {
                RaiseSystemError(ERROR_WRITE_FAULT);
            }
            rest.remove_prefix(written);
        }
    }

    HANDLE handle_;
    bool closes_;
    bool console_ = false;
    std::string pending_;
};

}  // namespace

std::unique_ptr<StreamSink> OpenStandardStream(StandardStream which) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    // Standard output is closed to see a failure that shows only then, unless standard error
    // shares its handle and still has a message to write.
    return which == StandardStream::kOutput ? std::make_unique<HandleSink>(output, output != error)
                                            : std::make_unique<HandleSink>(error, false);
}

void ReserveStandardStreams() {}

}  // namespace huevane::cli
