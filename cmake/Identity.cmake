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
#   GALEVANE_ICON_SIZES        square sizes of the PNG icons of the hicolor
#                              theme (assets/icons/hicolor/); the icon
#                              generator in tools/icons keeps its own list,
#                              and tests/assets/icons checks that they agree
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
