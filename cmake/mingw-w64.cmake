# Cross-compiles Windows binaries with Debian's MinGW-w64, win32-threads flavour: the POSIX-threads
# flavour links winpthreads, which imports functions that Windows XP lacks.
# Included by mingw-w64-i686.cmake and mingw-w64-x86_64.cmake, which set CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

set(HUEVANE_MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${HUEVANE_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${HUEVANE_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${HUEVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HUEVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
