#pragma once

#include <string>
#include <string_view>

namespace huevane {

// UTF-8 inside the program, UTF-16 where Windows takes text. A Windows file name may hold a
// lone surrogate; it travels as the three bytes UTF-8 would give it (as WTF-8 does), so that
// every name read from the system converts back to the same name. Bytes that are no UTF-8 at
// all become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace huevane
