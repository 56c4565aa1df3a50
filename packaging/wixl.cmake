# Builds an MSI from a configured WiX source with wixl, at build time:
#
#   cmake -DWIXL=<wixl> -DMSIBUILD=<msibuild> -DMSIINFO=<msiinfo>
#         -DARCH=<x86|x64> -DWXS=<file.wxs> -DFILES=<packed files>
#         -DNAMESPACE=<upgrade code> -DSTAGE=<folder> -DMSI=<out.msi>
#         -P wixl.cmake
#
# wixl finds a Source only by a name relative to the folder it runs in (an
# absolute path fails), so the packed files are copied into a folder of
# their own (STAGE, emptied first), under their own names, and wixl runs
# there.
#
# The package code, which must differ between packages that differ, is
# derived from the bytes of everything that goes in. A rebuild of the same
# sources gives the same package code, so installing the rebuilt package over
# the installed one is a repair; with random codes Windows Installer would
# refuse it as "another version of this product". wixl 0.101 ignores the
# Package element's Id and always makes a random one, so msibuild (msitools)
# writes the package code into the summary information afterwards.

foreach(var WXS FILES NAMESPACE STAGE MSI ARCH)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "wixl.cmake: -D${var}= is missing")
    endif()
endforeach()
if(NOT WIXL OR NOT MSIBUILD OR NOT MSIINFO)
    message(FATAL_ERROR "wixl and msitools are needed to build the installer"
        " (Debian: apt-get install wixl msitools)")
endif()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(SHA256 ${WXS} digests)
foreach(file IN LISTS FILES)
    file(SHA256 ${file} digest)
    string(APPEND digests " ${digest}")
    file(COPY ${file} DESTINATION ${STAGE})
endforeach()
string(UUID package_code NAMESPACE ${NAMESPACE} NAME "Package ${ARCH}${digests}" TYPE SHA1 UPPER)

# Written beside the target and renamed, so that a failed run leaves no MSI
# that looks finished.
set(part ${MSI}.part)
function(fail what)
    file(REMOVE ${part})
    message(FATAL_ERROR "${what}")
endfunction()

execute_process(COMMAND ${WIXL} --arch ${ARCH} -o ${part} ${WXS}
    WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("wixl failed on ${WXS}")
endif()

# "msibuild -s" sets the subject, the author, the template and the package
# code together: the first three are read back and written again unchanged.
execute_process(COMMAND ${MSIINFO} suminfo ${part}
    OUTPUT_VARIABLE summary RESULT_VARIABLE status)
foreach(field Subject Author Template)
    if(NOT summary MATCHES "(^|\n)${field}: ([^\n]*)")
        fail("no ${field} in the summary information of ${part}")
    endif()
    set(${field} "${CMAKE_MATCH_2}")
endforeach()
execute_process(COMMAND ${MSIBUILD} ${part} -s "${Subject}" "${Author}" "${Template}" "{${package_code}}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("msibuild could not set the package code of ${part}")
endif()
file(RENAME ${part} ${MSI})
