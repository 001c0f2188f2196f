# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the "posix"
# thread model, which std::thread and std::mutex need).
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# builds the Qt-free libraries, lx47-sim and their tests. With Qt for Windows
# (scripts/qt-windows.sh builds it) the whole tool and its widget tests:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=<qt>/lib/cmake/Qt6/qt.toolchain.cmake \
#         -DQT_CHAINLOAD_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64.cmake -DLX47_BUILD_GUI=ON
# GoogleTest is built from its sources (Debian's googletest).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${_triple}-gcc-posix ${_triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_triple}-g++-posix ${_triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt the executables carry their runtime (libstdc++, libgcc,
# winpthread), so they run from the build folder under Wine or on a PC
# without a MinGW install. With Qt, whose DLLs use the runtime's DLLs, every
# program shares those, so that a process holds one C++ runtime.
set(LX47_BUILD_GUI OFF CACHE BOOL "Build the tool too (needs Qt for Windows)")
if(NOT LX47_BUILD_GUI)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()
set(LX47_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built with the project")
