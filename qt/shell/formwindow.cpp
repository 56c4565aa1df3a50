#include "qt/shell/formwindow.h"

#include "core/forms/formview.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>

namespace {

// Top-level windows of the program are windows to assistive technology, not
// anonymous panes; their name is their accessible name, or else their title.
QAccessibleInterface *accessibleFormWindow(const QString &, QObject *object)
{
    auto *window = dynamic_cast<FormWindow *>(object);
    return window ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

} // namespace

FormWindow::FormWindow(FormEvents &form, Qt::WindowFlags flags, int activationSettleMs)
    : QWidget(nullptr, flags)
    , m_form(&form)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFormWindow);
        return true;
    }();
    Q_UNUSED(installed)
    m_activationSettle.setSingleShot(true);
    m_activationSettle.setInterval(activationSettleMs);
    connect(&m_activationSettle, &QTimer::timeout, this, [this] {
        if (m_form)
            m_form->activationSettled(isActiveWindow());
    });
}

void FormWindow::detach()
{
    m_form = nullptr;
    m_activationSettle.stop();
}

bool FormWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (!m_form)
        return handled;
    if (event->type() == QEvent::WindowActivate && m_form->activationReported()) {
        m_activationSettle.start();
    } else if (event->type() == QEvent::WindowDeactivate) {
        m_form->deactivationReported(!isActiveWindow() && QApplication::activeWindow());
        m_activationSettle.start();
    }
    return handled;
}

void FormWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A window without a minimise button cannot be minimised; a window
    // manager's menu or a task bar may still do it, and the window comes
    // back at once. Later, not from within the window manager's change.
    if (event->type() == QEvent::WindowStateChange && isMinimized() &&
        !windowFlags().testFlag(Qt::WindowMinimizeButtonHint)) {
        QMetaObject::invokeMethod(this, &FormWindow::comeBackFromMinimised, Qt::QueuedConnection);
    }
}

void FormWindow::comeBackFromMinimised()
{
    if (!isMinimized() || !isVisible())
        return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    if (!m_form || m_form->closeRequested())
        event->accept();
    else
        event->ignore();
}
