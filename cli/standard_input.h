#pragma once

#include <istream>

namespace huevane::cli {

// std::cin, read as bytes: on Windows its text mode would turn CRLF into LF and stop at a
// Ctrl-Z, which breaks UTF-16 themes.
std::istream& BinaryStandardInput();

}  // namespace huevane::cli
