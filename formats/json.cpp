#include "formats/json.h"

#include "core/utf8_text.h"

namespace huevane {
namespace {

// Deep enough for any file huevane-cli reads; bounds the recursion on hostile input.
constexpr int kMaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document() {
        JsonValue value = Value(0);
        SkipSpace();
        if (pos_ < text_.size()) {
            Error("text after the end of the JSON value");
        }
        return value;
    }

private:
    [[noreturn]] void Error(const std::string& message) const {
        throw JsonSyntaxError(line_, message);
    }

    void SkipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++pos_;
        }
    }

    bool Consume(char c) {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void Expect(char c, const char* what) {
        if (!Consume(c)) {
            Error(std::string("expected ") + what);
        }
    }

    JsonValue Value(int depth) {
        SkipSpace();
        if (depth > kMaxDepth) {
            Error("nested too deeply");
        }
        JsonValue value;
        value.line = line_;
        if (pos_ >= text_.size()) {
            Error("unexpected end of text");
        }
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            value.kind = JsonValue::Kind::kObject;
            if (!Consume('}')) {
                do {
                    SkipSpace();
                    if (pos_ >= text_.size() || text_[pos_] != '"') {
                        Error("expected a quoted field name");
                    }
                    std::string name = String();
                    Expect(':', "':' after a field name");
                    value.members.push_back({std::move(name), Value(depth + 1)});
                } while (Consume(','));
                Expect('}', "',' or '}'");
            }
        } else if (c == '[') {
            ++pos_;
            value.kind = JsonValue::Kind::kArray;
            if (!Consume(']')) {
                do {
                    value.items.push_back(Value(depth + 1));
                } while (Consume(','));
                Expect(']', "',' or ']'");
            }
        } else if (c == '"') {
            value.kind = JsonValue::Kind::kString;
            value.text = String();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.kind = JsonValue::Kind::kNumber;
            value.text = Number();
        } else if (Word("true")) {
            value.kind = JsonValue::Kind::kBool;
            value.boolean = true;
        } else if (Word("false")) {
            value.kind = JsonValue::Kind::kBool;
        } else if (!Word("null")) {
            Error("expected a JSON value");
        }
        return value;
    }

    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) {
            return false;
        }
        pos_ += word.size();
        return true;
    }

    bool Digits() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            ++pos_;
        }
        return pos_ > start;
    }

    std::string Number() {
        const std::size_t start = pos_;
        Word("-");
        if (Word("0")) {
            // no leading zeros
        } else if (!Digits()) {
            Error("bad number");
        }
        if (Word(".") && !Digits()) {
            Error("bad number");
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (!Word("+")) {
                Word("-");
            }
            if (!Digits()) {
                Error("bad number");
            }
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    unsigned Hex4() {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            const char c = pos_ < text_.size() ? text_[pos_] : '\0';
            code <<= 4;
            if (c >= '0' && c <= '9') {
                code |= static_cast<unsigned>(c - '0');
            } else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
                code |= static_cast<unsigned>((c | 0x20) - 'a' + 10);
            } else {
                Error("bad \\u escape");
            }
        }
        return code;
    }

    std::string String() {
        ++pos_;  // the opening quote
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) {
                Error("unterminated string");
            }
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Error("control character in a string");
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            Unescape(out);
        }
    }

    // The character of the escape after a backslash, appended to out.
    void Unescape(std::string& out) {
        static constexpr std::string_view kLetters = "\"\\/bfnrt";
        static constexpr std::string_view kMeanings = "\"\\/\b\f\n\r\t";
        const char e = pos_ < text_.size() ? text_[pos_++] : '\0';
        if (const std::size_t which = kLetters.find(e);
            e != '\0' && which != std::string_view::npos) {
            out += kMeanings[which];
            return;
        }
        if (e != 'u') {
            Error("bad escape in a string");
        }
        unsigned code = Hex4();
        if (code >= 0xD800 && code < 0xDC00 && Word("\\u")) {
            const unsigned low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) {
                Error("bad surrogate pair");
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            Error("bad surrogate pair");
        }
        out += Utf8Encoded(code);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

JsonValue ParseJson(std::string_view text) {
    return Parser(text).Document();
}

}  // namespace huevane
