# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which the C++ standard library's threads need) and runs the results
# under Wine. `make test-windows` uses it:
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: each .exe runs by itself,
# with no MinGW DLL to copy beside it or to put on Wine's PATH.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# ctest and GoogleTest's test discovery run the programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
