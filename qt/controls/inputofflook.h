#pragma once

class QWidget;

// A window whose input is switched off looks exactly as it does with input
// on: its controls are not drawn greyed, although they take no input and
// report themselves disabled to assistive technology.
//
// Applied to a window once its controls exist; controls the window creates
// later (a drop-down list) are drawn normally anyway.
void keepLookWhileInputOff(QWidget &window);
