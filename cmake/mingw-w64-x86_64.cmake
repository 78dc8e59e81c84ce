# Windows (64-bit) from Linux with Debian's mingw-w64, the thread model "posix" (std::thread, C++20):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DLRF_WITH_QT=OFF -DLRF_WITH_FIREBIRD_CLIENT=OFF -DLRF_GTEST_SOURCE_DIR=/usr/src/googletest
# Tests then run under Wine (ctest uses it as the emulator).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and thread run-time libraries linked in: each .exe and .dll runs on its own, without the
# compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

find_program(LRF_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(LRF_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LRF_WINE})
endif()
