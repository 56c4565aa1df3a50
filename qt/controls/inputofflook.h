#pragma once

#include <QPalette>

class QStyle;
class QWidget;

// A window whose input is switched off looks exactly as it does with input
// on: its controls are not drawn greyed, although they take no input and
// report themselves disabled to assistive technology. It takes two steps.

// The window's colours with the disabled group showing the inactive one, as
// widgets paint their own text and backgrounds from the palette's current
// group. Given to the window before its controls exist, it reaches each of
// them as it is made rather than in a second pass over all of them.
[[nodiscard]] QPalette withInputOffLook(QPalette colours);

// Applied to a window once its controls exist: they are drawn in
// inputOffLookStyle(), set on each of them only where the application draws
// in another style (the program does not). Controls the window creates later
// (a drop-down list) are drawn normally anyway.
void keepLookWhileInputOff(QWidget &window);

// The design's style (designlook.h), drawing a control that is disabled only
// because its window's input is off as it draws it enabled. One for the
// program, owned by the application once it exists; made again if the
// application has deleted it on taking another style.
[[nodiscard]] QStyle &inputOffLookStyle();
