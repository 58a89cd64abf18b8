#pragma once
// Numbers as the bytes of a file hold them: the version resource of an executable, registry
// data, UTF-16 text.

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>

namespace huevane {

enum class ByteOrder { kLittleEndian, kBigEndian };

// The number that the first sizeof(T) bytes hold (bytes.size() >= sizeof(T)).
template <std::unsigned_integral T>
constexpr T NumberFromBytes(std::string_view bytes, ByteOrder order = ByteOrder::kLittleEndian) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        const std::size_t at = order == ByteOrder::kLittleEndian ? sizeof(T) - 1 - i : i;
        value = static_cast<T>((value << 8U) | static_cast<unsigned char>(bytes[at]));
    }
    return value;
}

// The sizeof(T) bytes of value.
template <std::unsigned_integral T>
std::string BytesOfNumber(T value, ByteOrder order = ByteOrder::kLittleEndian) {
    std::string bytes(sizeof(T), '\0');
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        const std::size_t at = order == ByteOrder::kLittleEndian ? i : sizeof(T) - 1 - i;
        bytes[at] = static_cast<char>(value & 0xFFU);
        value = static_cast<T>(value >> 8U);
    }
    return bytes;
}

}  // namespace huevane
