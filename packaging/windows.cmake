# The Windows packages, made by the target "package" of a Windows build:
#
#   galevane-<version>.msi        the installer (wixl, from galevane.wxs.in)
#   galevane-<version>-win32.zip  the portable program: galevane.exe and the
#                                 licence, nothing to install
#
# in the top of the build folder. The 64-bit build, which exists for testing
# under wine64, names both "-win64" (galevane-<version>-win64.msi).
# Included by packaging/CMakeLists.txt in Windows builds only, in place of
# CPack's Debian package.

# wixl builds the MSI; msitools' msibuild and msiinfo give it its package
# code (wixl.cmake).
find_program(GALEVANE_WIXL wixl)
find_program(GALEVANE_MSIBUILD msibuild)
find_program(GALEVANE_MSIINFO msiinfo)

# The installer follows the build's processor: the 32-bit program as shipped
# goes into the 32-bit Program Files, the 64-bit one into the 64-bit folder
# with 64-bit components. With the files packed besides the program. A macro, because the function below, called from
# other folders too, needs the same in its own scope.
macro(galevane_windows_package_arch)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(GALEVANE_MSI_ARCH x64)
        set(GALEVANE_MSI_PROGRAM_FILES ProgramFiles64Folder)
        set(GALEVANE_MSI_WIN64 yes)
        set(GALEVANE_PACKAGE_ARCH win64)
    else()
        set(GALEVANE_MSI_ARCH x86)
        set(GALEVANE_MSI_PROGRAM_FILES ProgramFilesFolder)
        set(GALEVANE_MSI_WIN64 no)
        set(GALEVANE_PACKAGE_ARCH win32)
    endif()
    set(GALEVANE_MSI_ICON ${PROJECT_SOURCE_DIR}/assets/icons/galevane.ico)
    set(GALEVANE_MSI_LICENCE ${PROJECT_SOURCE_DIR}/packaging/copyright)
endmacro()

# galevane_add_msi(<target> VERSION <version> OUTPUT <file.msi>)
#
# Adds <target>, which builds the installer of the program for <version>.
# The package is the version of project(); the tests add one of a later
# version, to install over it.
function(galevane_add_msi target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "VERSION;OUTPUT" "")
    galevane_windows_package_arch()
    # A component keeps its GUID in every version (that is how Windows
    # Installer tracks its files), and a 32-bit and a 64-bit component must
    # not share one: derived from the upgrade code, the component and the
    # processor.
    foreach(component Program Licence)
        string(TOUPPER ${component} upper)
        string(UUID GALEVANE_MSI_${upper}_COMPONENT NAMESPACE ${GALEVANE_MSI_UPGRADE_CODE}
            NAME "Component ${component} ${GALEVANE_MSI_ARCH}" TYPE SHA1 UPPER)
    endforeach()
    set(GALEVANE_MSI_VERSION ${arg_VERSION})
    galevane_msi_product_code(GALEVANE_MSI_PRODUCT_CODE ${arg_VERSION})

    # The WiX source and the files wixl packs go in the calling folder's
    # build folder.
    cmake_path(GET arg_OUTPUT STEM LAST_ONLY stem)
    set(wxs ${CMAKE_CURRENT_BINARY_DIR}/${stem}.wxs)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/galevane.wxs.in ${wxs} @ONLY)

    add_custom_command(OUTPUT ${arg_OUTPUT}
        COMMAND ${CMAKE_COMMAND}
            -DWIXL=${GALEVANE_WIXL} -DMSIBUILD=${GALEVANE_MSIBUILD} -DMSIINFO=${GALEVANE_MSIINFO}
            -DARCH=${GALEVANE_MSI_ARCH} -DWXS=${wxs} -DMSI=${arg_OUTPUT}
            -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/${stem}.files
            "-DFILES=$<TARGET_FILE:galevane>$<SEMICOLON>${GALEVANE_MSI_ICON}$<SEMICOLON>${GALEVANE_MSI_LICENCE}"
            -DNAMESPACE=${GALEVANE_MSI_UPGRADE_CODE}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/wixl.cmake
        DEPENDS ${wxs} galevane $<TARGET_FILE:galevane> ${GALEVANE_MSI_ICON} ${GALEVANE_MSI_LICENCE}
            ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/wixl.cmake
        COMMENT "Building the installer ${stem}.msi"
        VERBATIM)
    add_custom_target(${target} DEPENDS ${arg_OUTPUT})
endfunction()

galevane_windows_package_arch()
# The installer of the program as shipped carries no processor in its name.
if(GALEVANE_PACKAGE_ARCH STREQUAL win32)
    set(GALEVANE_MSI ${PROJECT_BINARY_DIR}/galevane-${GALEVANE_PACKAGE_VERSION}.msi)
else()
    set(GALEVANE_MSI ${PROJECT_BINARY_DIR}/galevane-${GALEVANE_PACKAGE_VERSION}-${GALEVANE_PACKAGE_ARCH}.msi)
endif()
galevane_add_msi(galevane_msi VERSION ${PROJECT_VERSION} OUTPUT ${GALEVANE_MSI})

# The zip holds the two files at its top, as they are installed.
set(GALEVANE_ZIP ${PROJECT_BINARY_DIR}/galevane-${GALEVANE_PACKAGE_VERSION}-${GALEVANE_PACKAGE_ARCH}.zip)
set(zip_dir ${CMAKE_CURRENT_BINARY_DIR}/zip)
file(MAKE_DIRECTORY ${zip_dir})
add_custom_command(OUTPUT ${GALEVANE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${GALEVANE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:galevane> ${zip_dir}/galevane.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${GALEVANE_MSI_LICENCE} ${zip_dir}/copyright.txt
    COMMAND ${CMAKE_COMMAND} -E tar cf ${GALEVANE_ZIP} --format=zip galevane.exe copyright.txt
    WORKING_DIRECTORY ${zip_dir}
    DEPENDS galevane $<TARGET_FILE:galevane> ${GALEVANE_MSI_LICENCE}
    COMMENT "Packing the portable program into ${GALEVANE_ZIP}"
    VERBATIM)
add_custom_target(galevane_zip DEPENDS ${GALEVANE_ZIP})

# CPack, which would own the name, is not used in Windows builds. CMake still
# reserves "package" while a CPack configuration lies in the build folder,
# which a build tree configured before the installer existed holds.
file(REMOVE ${PROJECT_BINARY_DIR}/CPackConfig.cmake ${PROJECT_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package DEPENDS galevane_msi galevane_zip)

# The tests look for the packages and the identity they state here.
set_property(GLOBAL PROPERTY GALEVANE_MSI ${GALEVANE_MSI})
set_property(GLOBAL PROPERTY GALEVANE_ZIP ${GALEVANE_ZIP})
