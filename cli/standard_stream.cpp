#include "cli/standard_stream.h"

namespace huevane::cli {
namespace {

constexpr std::size_t kBufferSize = 8192;

}  // namespace

bool StandardStreamBuf::Drain() {
    if (!failure_ && !buffer_.empty()) {
        try {
            sink_->Write(buffer_);
        } catch (const RunError& e) {
            failure_ = e;
        }
    }
    buffer_.clear();
    return !failure_;
}

StandardStreamBuf::int_type StandardStreamBuf::overflow(int_type c) {
    if (failure_ || closed_) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        buffer_ += traits_type::to_char_type(c);
        if (buffer_.size() >= kBufferSize && !Drain()) {
            return traits_type::eof();
        }
    }
    return traits_type::not_eof(c);
}

std::streamsize StandardStreamBuf::xsputn(const char* text, std::streamsize count) {
    if (failure_ || closed_) {
        return 0;
    }
    buffer_.append(text, static_cast<std::size_t>(count));
    if (buffer_.size() >= kBufferSize && !Drain()) {
        return 0;
    }
    return count;
}

int StandardStreamBuf::sync() {
    return !closed_ && Drain() ? 0 : -1;
}

void StandardStreamBuf::Finish() {
    if (!closed_) {
        Drain();
        closed_ = true;
        try {
            sink_->Close();
        } catch (const RunError& e) {
            if (!failure_) {
                failure_ = e;
            }
        }
    }
    if (failure_) {
        throw *failure_;
    }
}

bool IsTerminal(const std::ostream& stream) {
    const auto* buffer = dynamic_cast<const StandardStreamBuf*>(stream.rdbuf());
    return buffer != nullptr && buffer->IsTerminal();
}

}  // namespace huevane::cli
