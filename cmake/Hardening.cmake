# Exploit mitigations for the program's own code, as one interface target:
#
#   galevane_hardening
#     -fstack-protector-strong          canaries in functions with arrays or
#                                        address-taken locals
#     -fstack-clash-protection          large stack frames are probed page by
#                                        page, so the stack cannot be moved
#                                        past its guard page into other memory
#     -fcf-protection                   indirect branch targets marked and
#                                        the code declared fit for a shadow
#                                        stack, for the processor's control-
#                                        flow enforcement (x86)
#     -D_FORTIFY_SOURCE=2               checked variants (__*_chk) of the C
#                                        string and stdio functions; glibc
#                                        needs optimisation for it, so only
#                                        Release, RelWithDebInfo, MinSizeRel
#     -Wl,-z,relro -Wl,-z,now           relocations resolved at start-up, then
#                                        the GOT is made read-only
#
# plus position-independent executables (-fPIE / -pie) for every target
# defined after this file is included, through CMAKE_POSITION_INDEPENDENT_CODE
# and check_pie_supported, so CMake picks -fPIE for executables and -fPIC for
# libraries and adds -pie at link time. PIE is on in every configuration
# (Debian's compilers default to it anyway); the rest is off in Debug, where
# it would only get in the way of the sanitizers and the debugger. The two
# flags that not every compiler and target knows (stack clash protection,
# control-flow protection) are used where check_cxx_compiler_flag accepts
# them; Debian builds its own packages with both on amd64.
#
# Only for GCC or Clang targeting Linux; elsewhere the target is empty.
#
# On every platform, and before anything else, two settings for the whole
# project:
#
#   CMAKE_SKIP_RPATH                   no binary, in the build tree or
#                                        installed, has a run-time library
#                                        search path (RPATH or RUNPATH)
#   CMAKE_EXPORT_COMPILE_COMMANDS      compile_commands.json in the build
#                                        folder, where the hardening test
#                                        finds the flags that leave no mark
#                                        in the executable
#
# qt_standard_project_setup() asks for $ORIGIN:$ORIGIN/../lib in installed
# binaries, and to make room for it CMake writes a search path of empty
# entries into the build-tree binaries; the dynamic loader takes an empty
# entry for the current folder, so a library of the right name in whatever
# folder the program was started from would be loaded. Everything Galevane
# links is a system library, which the loader finds by its own rules.
#
# Include it from the top level before any target is defined, then link the
# target into galevane_options so that everything built with the project's
# options is hardened.

include_guard(GLOBAL)

add_library(galevane_hardening INTERFACE)

set(CMAKE_SKIP_RPATH ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
    return()
endif()

include(CheckPIESupported)
check_pie_supported(OUTPUT_VARIABLE galevane_pie_output LANGUAGES CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
else()
    message(WARNING "galevane: the linker cannot make position-independent executables; "
        "building without PIE.\n${galevane_pie_output}")
endif()

set(galevane_hardened_config "$<NOT:$<CONFIG:Debug>>")
set(galevane_optimised_config "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")

include(CheckCXXCompilerFlag)
set(galevane_checked_flags)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "GALEVANE_CXX_ACCEPTS${flag}" accepted)
    check_cxx_compiler_flag(${flag} ${accepted})
    if(${accepted})
        list(APPEND galevane_checked_flags ${flag})
    endif()
endforeach()

target_compile_options(galevane_hardening INTERFACE
    "$<${galevane_hardened_config}:-fstack-protector-strong;${galevane_checked_flags}>"
    # Undefined first: a build environment that already passes its own level
    # (dpkg-buildflags does) must not turn into a redefinition warning.
    "$<${galevane_optimised_config}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
target_link_options(galevane_hardening INTERFACE
    "$<${galevane_hardened_config}:LINKER:-z,relro;LINKER:-z,now>")

unset(galevane_hardened_config)
unset(galevane_optimised_config)
unset(galevane_pie_output)
unset(galevane_checked_flags)
