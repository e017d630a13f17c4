# What both Windows toolchain files share; they set mingw_triple and wine_arch
# first. The posix-threads compilers, so that std::thread and std::mutex exist.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)
# Static, so that a program needs no DLL beside Windows' own: not on a bare
# Windows, nor under Wine, which would not find the compiler's.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Libraries and headers come from the mingw-w64 tree and from the roots given
# with -DCMAKE_FIND_ROOT_PATH (freeglut's install prefix), never from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs the programs under Wine, in a prefix of this build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run ${wine_arch} ${CMAKE_BINARY_DIR}/wine)
