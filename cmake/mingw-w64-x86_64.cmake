# Cross-building the Windows program on Linux with MinGW-w64 (posix threads for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Nothing but the system's DLLs at run time: the C and C++ runtimes go into the exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests of the Windows build run under Wine.
find_program(VARNEL_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT VARNEL_WINE64)
  find_program(VARNEL_WINE64 NAMES wine64 wine)
endif()
# The ANSI code page of a Wine process comes from its locale: run the tests as on a Japanese
# Windows, whatever the calling shell's locale is.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env LC_ALL=ja_JP.UTF-8 ${VARNEL_WINE64})
