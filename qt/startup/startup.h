#pragma once

#include <functional>

class Form;

// Runs the program and returns its exit status: refuses at once, with one
// line, where no window system can be reached; otherwise creates the
// application object, registers the fonts the windows are drawn in, makes
// the window registry and shows `firstWindow`'s window. The program ends
// only through the registry's End, never because a window closed.
[[nodiscard]] int runProgram(int argc, char *argv[], const std::function<Form &()> &firstWindow);
