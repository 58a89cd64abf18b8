#include "cli/standard_input.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

namespace huevane::cli {

std::istream& BinaryStandardInput() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    return std::cin;
}

}  // namespace huevane::cli
