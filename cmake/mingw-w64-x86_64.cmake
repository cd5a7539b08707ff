# Cross-compiles the Windows side with mingw-w64 (Debian: package mingw-w64).
#   cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Everything is linked statically so notavo.exe runs without any mingw DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NOTAVO_MINGW_TRIPLE x86_64-w64-mingw32)

# The posix thread model gives std::thread and std::mutex; fall back to the
# default variant where only that one is installed.
find_program(CMAKE_CXX_COMPILER NAMES ${NOTAVO_MINGW_TRIPLE}-g++-posix ${NOTAVO_MINGW_TRIPLE}-g++
             REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${NOTAVO_MINGW_TRIPLE}-gcc-posix ${NOTAVO_MINGW_TRIPLE}-gcc
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${NOTAVO_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${NOTAVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Lets `ctest` in the Windows build run the test programs through Wine.
find_program(NOTAVO_WINE NAMES wine)
if(NOTAVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NOTAVO_WINE})
endif()
