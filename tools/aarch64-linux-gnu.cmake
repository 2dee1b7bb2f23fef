# Cross-builds the Linux programs for arm64 with Debian's cross compiler
# (g++-aarch64-linux-gnu), without Qt:
#   cmake -S . -B build-arm64 --toolchain tools/aarch64-linux-gnu.cmake -DVK37_BUILD_UI=OFF
# Libraries and headers come from the cross compiler's sysroot only, so
# nothing of the build machine's own architecture is linked by mistake.
# Programs of the build run under qemu-user with that sysroot's loader and
# libraries: the resource converter at build time, the tests under ctest.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(triple aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L /usr/${triple})
