#pragma once

// The look the program gives the whole application: the design's palette
// (designlook.h) and one style object for every window, the design's style as
// it draws windows whose input is off (inputofflook.h).

// Makes the program's style the application's. Called before the application
// object is made, Qt then makes no style of its own, nor loads the one a
// platform theme names, only to have it replaced.
void useDesignStyle();

// Makes the program's style and the design's palette the application's own.
// Called once, after the application object exists and before any window is
// made.
void useDesignLook();
