# Cross-builds the Windows program on Debian with MinGW-w64 (64-bit, posix
# threads). Usage: cmake -S . -B build-win --toolchain tools/mingw-w64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
