# Cross-builds the Windows home with mingw-w64. The posix thread model is the one whose libstdc++ has
# std::thread and std::mutex; the tests run under wine, which CMake uses as the emulator so that
# gtest_discover_tests can list each test binary's cases.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ostrelle_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ostrelle_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ostrelle_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${ostrelle_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ostrelle_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables run with no DLL of the compiler beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

find_program(OSTRELLE_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(OSTRELLE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTRELLE_WINE})
endif()
