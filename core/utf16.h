#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/byte_order.h"

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

// The place of the first surrogate without its partner; npos when there is none. Where UTF-16
// must be well formed (a theme file), it is refused there.
std::size_t FindLoneSurrogate(std::u16string_view text);

// The code point's one or two code units (a lone surrogate as itself), appended to text.
void AppendUtf16(char32_t code, std::u16string& text);

// UTF-16 as bytes in a file or in registry data. An odd last byte is no code unit and is
// dropped: the callers that must refuse it see the odd size themselves.
std::u16string Utf16FromBytes(std::string_view bytes, ByteOrder order);
std::string BytesOfUtf16(std::u16string_view text, ByteOrder order);

}  // namespace huevane
