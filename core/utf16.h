#pragma once

#include <string>
#include <string_view>

namespace huevane {

// UTF-8 inside the program, UTF-16 where Windows takes text. A Windows file name may hold a
// lone surrogate; it travels as the three bytes UTF-8 would give it (as WTF-8 does), so that
// every name read from the system converts back to the same name. Bytes that are no UTF-8 at
// all become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// What becomes of a surrogate without its partner: its three bytes, so that a Windows name
// converts back to itself, or U+FFFD, where the text must be valid UTF-8 (a registry value).
enum class LoneSurrogates { kKept, kReplaced };

std::string Utf16ToUtf8(std::u16string_view text, LoneSurrogates lone = LoneSurrogates::kKept);

}  // namespace huevane
