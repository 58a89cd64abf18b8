# 32-bit Windows: the program as users get it, for Windows XP SP3 and later.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
