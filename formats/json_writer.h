#pragma once

#include <string>
#include <string_view>

namespace huevane::cli {

// text as a quoted JSON string that is valid UTF-8 whatever text holds: quotes, backslashes and
// control characters escaped, each byte that is not UTF-8 replaced by U+FFFD.
std::string JsonQuote(std::string_view text);

// The member "name": "text" of a JSON object, for a path or another text from outside. When
// text is not valid UTF-8 the string shows each stray byte as U+FFFD, and the member
// "name_bytes" follows with text's exact bytes in lowercase hex, so that no other path is shown
// as if it were this one.
std::string JsonTextMember(std::string_view name, std::string_view text);

}  // namespace huevane::cli
