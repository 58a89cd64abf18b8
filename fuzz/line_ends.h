#pragma once

#include <string>
#include <string_view>

// text with each "\n" as "\r\n", as Windows tools write it: the fuzzers and tests check that a
// parser reads both alike.
inline std::string ToCrlf(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out.push_back('\r');
        }
        out.push_back(c);
    }
    return out;
}
