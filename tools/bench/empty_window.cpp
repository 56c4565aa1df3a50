// The floor for the start-up and memory comparison: a Qt Widgets program
// that shows one empty window of the main window's size (439 x 513 logical
// pixels) and nothing else.
//
// With GALEVANE_REPORT_FIRST_PAINT set it prints
//     first-paint-ns <std::chrono::steady_clock nanoseconds>
// once the window's first paint pass has finished, and exits 0; the program
// reports the same line at the same point, so that tools/bench/startup.py
// can compare the two.

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

// Waits for the window's first Paint event, then lets the rest of that paint
// pass (children, flush to the window system) finish before taking the time:
// the queued call runs on the next turn of the event loop.
class FirstPaintReporter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    std::printf(
                        "first-paint-ns %lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(439, 513);
    if (qEnvironmentVariableIsSet("GALEVANE_REPORT_FIRST_PAINT"))
        window.installEventFilter(new FirstPaintReporter(&window));
    window.show();
    return QApplication::exec();
}
