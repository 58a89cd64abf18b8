# 64-bit Windows: the same program, also the build that hosts without 32-bit support can run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
