# Exploit mitigations for the program's own code, as one interface target:
#
#   galevane_hardening
#     -fstack-protector-strong          canaries in functions with arrays or
#                                        address-taken locals
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
# it would only get in the way of the sanitizers and the debugger.
#
# Only for GCC or Clang targeting Linux; elsewhere the target is empty.
#
# Include it from the top level before any target is defined, then link the
# target into galevane_options so that everything built with the project's
# options is hardened.

include_guard(GLOBAL)

add_library(galevane_hardening INTERFACE)

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

target_compile_options(galevane_hardening INTERFACE
    "$<${galevane_hardened_config}:-fstack-protector-strong>"
    # Undefined first: a build environment that already passes its own level
    # (dpkg-buildflags does) must not turn into a redefinition warning.
    "$<${galevane_optimised_config}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
target_link_options(galevane_hardening INTERFACE
    "$<${galevane_hardened_config}:LINKER:-z,relro;LINKER:-z,now>")

unset(galevane_hardened_config)
unset(galevane_optimised_config)
unset(galevane_pie_output)
