#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/run_error.h"

namespace huevane {

struct JsonMember;

// One parsed JSON value, with the line it starts on (counted from 1), for error messages.
struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
    Kind kind = Kind::kNull;
    int line = 0;
    bool boolean = false;
    std::string text;  // a string's value, or a number as written
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;  // in the order written
};

// One name and value of a JSON object.
struct JsonMember {
    std::string name;
    JsonValue value;
};

// Why a text is not JSON, and on which line.
class JsonSyntaxError : public RunError {
public:
    JsonSyntaxError(int line, const std::string& message)
        : RunError(Described(message)), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Parses one JSON value that fills the whole text (white space around it allowed); throws
// JsonSyntaxError otherwise.
JsonValue ParseJson(std::string_view text);

}  // namespace huevane
