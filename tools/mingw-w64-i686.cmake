# Cross-builds the 32-bit Windows program on Debian with MinGW-w64 (i686,
# posix threads), for 32-bit Windows and for the capture filters that are
# registered for 32-bit programs only.
# Usage: cmake -S . -B build-win32 --toolchain tools/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# A DLL's __stdcall exports (DllGetClassObject, a hook procedure) keep their
# plain names, as on 64-bit, so GetProcAddress finds them by those names and
# a .def file may list them so without the linker warning about each.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--kill-at,--enable-stdcall-fixup")
