#pragma once

#include <windows.h>

// Start-up measurement: how long from the creation of the process to the end
// of the first paint of the program's first window, in the form the
// benchmarks read:
//     first-paint-since-creation-us <microseconds>
//     first-paint-since-entry-us <microseconds>
// The first number runs from the process's creation time (GetProcessTimes,
// which the system takes before any of the program's or the loader's code
// runs), the second from the program's entry point.
namespace FirstPaint {

// The program has entered its entry point.
void markEntry();

// Writes the two lines to `path`, or to standard output when it is null;
// false when the file cannot be written.
bool report(const wchar_t *path);

} // namespace FirstPaint
