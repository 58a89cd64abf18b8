#include "platform/standard_stream.h"

namespace huevane::platform {
namespace {

constexpr std::size_t kBufferSize = 8192;

}  // namespace

bool StandardStreamBuf::Drain() {
    if (failure_.empty() && !buffer_.empty()) {
        failure_ = sink_->Write(buffer_);
    }
    buffer_.clear();
    return failure_.empty();
}

StandardStreamBuf::int_type StandardStreamBuf::overflow(int_type c) {
    if (!failure_.empty() || closed_) {
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
    if (!failure_.empty() || closed_) {
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

std::string StandardStreamBuf::Finish() {
    if (!closed_) {
        Drain();
        closed_ = true;
        const std::string closing = sink_->Close();
        if (failure_.empty()) {
            failure_ = closing;
        }
    }
    return failure_;
}

}  // namespace huevane::platform
