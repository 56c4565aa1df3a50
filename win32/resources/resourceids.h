#pragma once

// The numbers of the Windows front end's resources; win32/resources/win32.rc
// gives each one its data. Both the resource compiler and C++ read this file,
// so it holds plain defines only.

// The application icon is resource 1 of packaging/galevane.rc.in.
#define GALEVANE_ICON_APPLICATION 1
#define GALEVANE_ICON_AREAS 2

#define GALEVANE_BITMAP_AREAS_MAP 10

// The yacht drawing, packed by tools/win32/yachtpictures.py, at the sizes of
// the main window's picture at 96, 144 and 192 dots per inch.
#define GALEVANE_PICTURE_YACHT_331X302 20
#define GALEVANE_PICTURE_YACHT_497X453 21
#define GALEVANE_PICTURE_YACHT_662X604 22
