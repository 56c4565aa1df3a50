// The floor for the start-up and memory comparison: a Qt Widgets program
// that shows one empty window of the main window's size (439 x 513 logical
// pixels) and nothing else.
//
// With GALEVANE_REPORT_FIRST_PAINT set it prints
//     first-paint-ns <std::chrono::steady_clock nanoseconds>
// once the window's first paint pass has finished, and exits 0; the program
// reports the same line at the same point, so that tools/bench/startup.py
// can compare the two.

#include "tools/bench/firstpaintreporter.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(439, 513);
    FirstPaintReporter::watchIfRequested(window);
    window.show();
    return QApplication::exec();
}
