#pragma once

#include <windows.h>

namespace huevane::platform {

// A function of a system DLL that is loaded on first use rather than at start-up: the colour
// dialog and the shell are needed only when the user asks for them, and loading their DLLs
// up front costs a noticeable part of the program's start.
template <typename Function>
Function LazyProc(const char* dll, const char* name) {
    HMODULE module = LoadLibraryA(dll);  // stays loaded for the life of the process
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace huevane::platform
