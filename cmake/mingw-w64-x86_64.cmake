# Cross compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, so
# that std::thread and std::mutex work). Used both for building Qt itself and
# for building the program (tools/windows_build.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(POKOMOJI_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${POKOMOJI_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${POKOMOJI_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${POKOMOJI_MINGW_TRIPLE}-windres)

# Libraries and headers come only from the MinGW tree and from any prefix given
# with -DCMAKE_FIND_ROOT_PATH (the cross-built Qt); programs run on the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${POKOMOJI_MINGW_TRIPLE})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
