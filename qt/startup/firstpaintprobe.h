#pragma once

#include <QObject>
#include <QString>

class QWidget;

// For start-up measurements only: when GALEVANE_REPORT_FIRST_PAINT is set,
// the program prints "first-paint-ns <steady clock nanoseconds>" once the
// watched window has been painted for the first time, and exits.
//
// With GALEVANE_OPEN_AFTER_FIRST_PAINT=<object name> as well, it then clicks
// that control of the watched window with the left mouse button and prints
//     click-ns <ns>
//     window-paint-ns <ns>
// for the click and for the end of the first paint of the next top-level
// window painted, before it exits. Under callgrind the instructions between
// the two are counted with --zero-before='*galevaneOpeningClicked*' and
// --dump-before='*galevaneOpeningPainted*'.
class FirstPaintProbe final : public QObject
{
public:
    [[nodiscard]] static bool isRequested();
    // Watches `window`; the probe is owned by it.
    static void watch(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstPaintProbe(QWidget &window, QString clickTarget);
    void clickTarget();

    QWidget &m_window;
    QString m_clickTarget;
    enum class Stage { MainWindow, Opening, Done };
    Stage m_stage = Stage::MainWindow;
};
