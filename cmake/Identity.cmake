# The program's identity, written once for the whole build. The version is
# the VERSION of project() in the top-level CMakeLists.txt; this file derives
# the forms it is shown in and names the rest:
#
#   GALEVANE_APP_ID            reverse-DNS application id: the desktop entry,
#                              the AppStream component, the themed icons and
#                              the desktop file name the program reports
#   GALEVANE_DEVELOPER_ID      the maker's reverse-DNS id, the application id
#                              without its last part (AppStream <developer>)
#   GALEVANE_APPLICATION_NAME  QCoreApplication's application name; Qt on X11
#                              makes it the class of every window's WM_CLASS,
#                              which the desktop entry's StartupWMClass names
#   GALEVANE_DISPLAY_VERSION   the version as the program and the Windows
#                              resource show it: major, a full stop and two
#                              digits of minor, "1.00"
#   GALEVANE_PACKAGE_VERSION   major.minor.patch, "1.0.0": the Debian package
#                              and the manual page
#   GALEVANE_PUBLISHER         the maker as Windows shows it: the version
#                              resource's company, the installer's
#                              Manufacturer and the publisher in Programs and
#                              Features
#   GALEVANE_TAGLINE           the one-line description: the version
#                              resource's Comments, the Start-menu shortcut's
#                              description
#   GALEVANE_MSI_UPGRADE_CODE  the Windows installer's UpgradeCode, the same
#                              for every version for ever: it is how a newer
#                              installer finds the older one to replace
#   galevane_msi_product_code(<var> <version>)
#                              the installer's ProductCode for a version
#   GALEVANE_ICON_SIZES        square sizes of the PNG icons of the hicolor
#                              theme (assets/icons/hicolor/); the icon
#                              generator in tools/icons keeps its own list,
#                              and tests/assets/icons checks that they agree
#
# The web address is the HOMEPAGE_URL of project().
#
# Include it from the top level after project(). shell/ turns these into the
# generated header shell/identity.h; packaging/ configures the desktop
# entry, the metadata, the manual page and the Windows resource from them;
# the tests receive them on their command lines.

include_guard(GLOBAL)

set(GALEVANE_APP_ID uk.co.quayforth.Galevane)
string(REGEX REPLACE "\\.[^.]+$" "" GALEVANE_DEVELOPER_ID "${GALEVANE_APP_ID}")
set(GALEVANE_APPLICATION_NAME Galevane)

if(PROJECT_VERSION_MINOR LESS 10)
    set(GALEVANE_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(GALEVANE_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(GALEVANE_PACKAGE_VERSION
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")

set(GALEVANE_ICON_SIZES 16 32 48 64 128 256)

set(GALEVANE_PUBLISHER Quayforth)
set(GALEVANE_TAGLINE "For 10m above sea level")

# Generated once; never change it, or installers of later versions no longer
# replace the installed one but go beside it.
set(GALEVANE_MSI_UPGRADE_CODE CD68F42B-F0E3-4D5B-AF0C-E818606B2FF9)

# A ProductCode per version, derived rather than written down, so that it
# cannot be forgotten at a release: a name-based UUID of the upgrade code and
# the version. Windows Installer compares only major.minor.patch, so only
# those go in: two builds differing in the fourth number are one product to
# it (installing one over the other repairs, and never leaves both
# installed).
function(galevane_msi_product_code out version)
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)(\\.[0-9]+)?$")
        message(FATAL_ERROR "not a Windows Installer version: ${version}")
    endif()
    if(CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
        message(FATAL_ERROR "Windows Installer versions go to 255.255.65535: ${version}")
    endif()
    string(UUID code NAMESPACE ${GALEVANE_MSI_UPGRADE_CODE}
        NAME "ProductCode ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}" TYPE SHA1 UPPER)
    set(${out} ${code} PARENT_SCOPE)
endfunction()
