#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace huevane {

// How many characters of a text that a user, a file or the system supplied a message quotes.
inline constexpr std::size_t kQuotedTextLimit = 200;

// text made safe for a terminal line: control characters (C0, DEL, C1, and the Unicode line
// separators and direction overrides) as visible escapes such as \n, \t, \x1b or \u0085, and
// each byte that is not UTF-8 as \xNN. The result is valid UTF-8 on one line; escaping it again
// changes nothing.
std::string Escaped(std::string_view text);

// Escaped text for a message: whole when it has at most 200 characters, else its first 200
// and "... (N characters)". Characters are UTF-8 code points (a stray byte counts as one) and
// are never cut.
std::string Clipped(std::string_view text);

}  // namespace huevane
