# cmake -DEXE=galevane.exe -DOBJDUMP=i686-w64-mingw32-objdump -DFORMAT=pei-i386 -P check_imports.cmake
#
# The executable is of the build's processor (pei-i386 for the program as
# shipped, pei-x86-64 for the build that stands in for it where 32-bit Wine
# cannot run) and imports no DLL but those every Windows has.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
if(NOT dump MATCHES "file format ${FORMAT}\n")
    message(FATAL_ERROR "${EXE} is not of the format ${FORMAT}")
endif()
set(allowed KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll MSIMG32.dll msvcrt.dll
    OLEACC.dll ole32.dll OLEAUT32.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${dump}")
set(seen)
foreach(entry IN LISTS names)
    string(REPLACE "DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    list(APPEND seen ${dll})
    string(TOUPPER "${dll}" upper)
    set(known FALSE)
    foreach(ok IN LISTS allowed)
        string(TOUPPER "${ok}" ok_upper)
        if(upper STREQUAL ok_upper)
            set(known TRUE)
        endif()
    endforeach()
    if(NOT known)
        message(FATAL_ERROR "${EXE} imports ${dll}, which is not a DLL of Windows itself")
    endif()
endforeach()
message(STATUS "imports: ${seen}")
