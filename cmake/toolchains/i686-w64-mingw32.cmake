# 32-bit x86 Windows, built with mingw-w64 and run under a 32-bit Wine prefix.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_triple i686-w64-mingw32)
set(wine_arch win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
