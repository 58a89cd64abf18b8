// What ends Huevane.exe after an exception that nothing caught.
//
// libstdc++'s default handler prints the exception's demangled type to a standard error stream
// that a window program does not have, and brings the whole C++ demangler (about 50 KiB) into
// the executable for it. Windows' own report of an abnormal end is all the user gets either way.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
