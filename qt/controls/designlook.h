#pragma once

#include <QPalette>

class QStyle;

// The one look the windows are drawn in, whatever the desktop asks for: a
// style named by QT_STYLE_OVERRIDE or -style, a platform theme's style and
// colour scheme (qt6ct, GTK, KDE Plasma's Breeze Dark) leave it unchanged.
// It is Qt's built-in Fusion style, the one Qt picks by default on Linux, in
// its standard light palette: the design's system colours are those of a
// standard light colour scheme ("Criterion" is white), and its fixed
// backgrounds are chosen against them.

// The standard light palette, with every role of every group set, so that
// nothing of another palette shows through where it is applied.
[[nodiscard]] const QPalette &designPalette();

// A new instance of the style the windows are drawn in, owned by the caller.
// Fusion is built into Qt Widgets: no plugin is looked for.
[[nodiscard]] QStyle *createDesignStyle();
