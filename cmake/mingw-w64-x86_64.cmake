# Cross build of the Windows program with Debian's MinGW-w64 (g++-mingw-w64-x86-64,
# binutils-mingw-w64-x86-64):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MOLE_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix threads variant: the complete standard library; linked statically, so its
# threading runtime ends up inside the exe rather than beside it.
set(CMAKE_C_COMPILER ${MOLE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOLE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MOLE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MOLE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
