#pragma once

#include <windows.h>

// The main window's standard controls and nothing else of the program: its
// six drop-down boxes, each filled with its column of the scale, its text box
// and its three buttons, as plain common controls (version 6) at their places
// in their fonts. A second floor for the start-up comparison: what the
// program takes beyond it is its own work, what it takes below it is the
// price of the controls themselves under the system it runs on.
namespace StandardControls {

// Makes the controls in `window`, laid out at `dpi` dots per inch.
void create(HWND window, int dpi);

} // namespace StandardControls
