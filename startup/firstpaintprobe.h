#pragma once

#include <QObject>

// For start-up measurements only: when GALEVANE_REPORT_FIRST_PAINT is set,
// the program prints "first-paint-ns <steady clock nanoseconds>" once the
// watched window has been painted for the first time, and exits.
class FirstPaintProbe final : public QObject
{
public:
    [[nodiscard]] static bool isRequested();
    // Watches `window`; the probe is owned by it.
    static void watch(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FirstPaintProbe(QObject *parent)
        : QObject(parent)
    {}
    bool m_reported = false;
};
