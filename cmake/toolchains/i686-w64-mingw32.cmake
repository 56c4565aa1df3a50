# Cross-compiles the native Windows program for 32-bit x86 with Debian's
# MinGW-w64 (g++-mingw-w64-i686-posix), and runs what it builds under Wine:
#
#   cmake --preset windows
#
# The POSIX-threads flavour of the compiler is the one whose libstdc++ has
# std::thread, std::mutex and friends; its thread library (winpthread) is
# linked statically like the rest of the runtime.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GALEVANE_MINGW_TRIPLE i686-w64-mingw32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
