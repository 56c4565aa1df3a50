#include "shell/formwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

FormWindow::FormWindow(FormWindowEvents &form, Qt::WindowFlags flags)
    : QWidget(nullptr, flags)
    , m_form(form)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFormWindow);
        return true;
    }();
    Q_UNUSED(installed)
    m_activationSettle.setSingleShot(true);
    m_activationSettle.setInterval(FormWindowEvents::activationSettleMs);
    connect(&m_activationSettle, &QTimer::timeout, this,
            [this] { m_form.activationSettled(this); });
}

bool FormWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && m_form.activationReported(this)) {
        m_activationSettle.start();
    } else if (event->type() == QEvent::WindowDeactivate) {
        m_form.deactivationReported(this);
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
    if (m_form.windowCloseRequested(this))
        event->accept();
    else
        event->ignore();
}
