#pragma once

class QStyle;
class QWidget;

// A window whose input is switched off looks exactly as it does with input
// on: its controls are not drawn greyed, although they take no input and
// report themselves disabled to assistive technology.
//
// Applied to a window once its controls exist; controls the window creates
// later (a drop-down list) are drawn normally anyway. Where the application
// draws in inputOffLookStyle() already, as the program does, its palette is
// all a window needs.
void keepLookWhileInputOff(QWidget &window);

// The design's style (designlook.h), drawing a control that is disabled only
// because its window's input is off as it draws it enabled. One for the
// program, owned by the application once it exists; made again if the
// application has deleted it on taking another style.
[[nodiscard]] QStyle &inputOffLookStyle();
