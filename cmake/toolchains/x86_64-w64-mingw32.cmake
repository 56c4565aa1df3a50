# The same as i686-w64-mingw32.cmake for 64-bit x86
# (g++-mingw-w64-x86-64-posix). Not what is shipped: it lets the Windows tests
# run under wine64 on machines whose kernel starts no 32-bit programs
# (booted with ia32_emulation=off), where 32-bit Wine cannot run at all.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(GALEVANE_MINGW_TRIPLE x86_64-w64-mingw32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
