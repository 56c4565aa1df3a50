# The part of the MinGW-w64 toolchain files that does not depend on the
# processor; included by them after they set GALEVANE_MINGW_TRIPLE.

set(CMAKE_C_COMPILER ${GALEVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GALEVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GALEVANE_MINGW_TRIPLE}-windres)

# Headers, libraries and CMake packages come from the MinGW-w64 tree only,
# never from the Linux system; programs (code generators, scripts) run on
# Linux and come from there.
set(CMAKE_FIND_ROOT_PATH /usr/${GALEVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables carry their C++ runtime, libgcc and winpthread inside, so
# they need no DLL besides those of Windows itself.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# add_test(NAME x COMMAND <executable target>) and try_run() run the program
# under Wine, headless, through the test wrapper.
get_filename_component(GALEVANE_WINE_WRAPPER
    "${CMAKE_CURRENT_LIST_DIR}/../../tests/wine/run-under-wine.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${GALEVANE_WINE_WRAPPER}")
