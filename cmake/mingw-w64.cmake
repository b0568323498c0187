# Toolchain for 64-bit Windows programs built with MinGW-w64 (the posix
# thread model, as Debian's g++-mingw-w64-x86-64-posix provides it).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake ...
# Programs are linked statically, so they run under Wine or on Windows
# without the MinGW runtime DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STALLMARK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STALLMARK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STALLMARK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${STALLMARK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${STALLMARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
