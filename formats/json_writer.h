#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace huevane {

// text as a quoted JSON string that is valid UTF-8 whatever text holds: quotes, backslashes and
// control characters escaped, each byte that is not UTF-8 replaced by U+FFFD.
std::string JsonQuote(std::string_view text);

// The member "name": "text" of a JSON object, for a path or another text from outside. When
// text is not valid UTF-8 the string shows each stray byte as U+FFFD, and the member
// "name_bytes" follows with text's exact bytes in lowercase hex, so that no other path is shown
// as if it were this one.
std::string JsonTextMember(std::string_view name, std::string_view text);

// The member "name": value, where value is JSON already (a number, null, an object, ...).
std::string JsonMember(std::string_view name, std::string_view value);

// An object on one line, {member, member}, of members that JsonMember or JsonTextMember made.
std::string JsonObject(std::initializer_list<std::string> members);

// An array or an object with one item to a line, each after indent, and the closing bracket on
// a line of its own, indented two spaces less: the layout of get --json and versions --json.
std::string JsonArrayLines(const std::vector<std::string>& items, std::string_view indent);
std::string JsonObjectLines(const std::vector<std::string>& members, std::string_view indent);

// {"index": 3, "name": "text"}: an entry of one of the program's lists.
std::string JsonListEntry(std::size_t index, std::string_view name, std::string_view text);

}  // namespace huevane
