# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, so that
# std::thread and std::mutex work):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DORV_BUILD_GUI=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without the window the executables run on machines (and under Wine) without the MinGW runtime
# DLLs beside them. The window's Qt DLLs need those DLLs anyway, and one copy of the C++ runtime
# in the process is what they were built for: with ORV_MINGW_SHARED_RUNTIME the programs use it too.
if(NOT ORV_MINGW_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

# Tests are run through Wine when CMake or CTest needs to execute them.
find_program(ORV_WINE NAMES wine64 wine)
if(ORV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORV_WINE})
endif()
