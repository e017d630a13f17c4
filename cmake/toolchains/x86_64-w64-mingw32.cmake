# 64-bit x86 Windows, built with mingw-w64 and run under a 64-bit Wine prefix.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(mingw_triple x86_64-w64-mingw32)
set(wine_arch win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
