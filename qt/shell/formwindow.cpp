#include "qt/shell/formwindow.h"

#include "core/forms/formview.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>

namespace {

// Top-level windows of the program are windows (or dialogs) to assistive
// technology, not anonymous panes; their name is their accessible name, or
// else their title. Their controls come in the window's reading order.
class AccessibleFormWindow final : public QAccessibleWidget
{
public:
    explicit AccessibleFormWindow(FormWindow *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {}

    QAccessible::Role role() const override
    {
        return static_cast<const FormWindow *>(widget())->isAccessibleDialog()
                   ? QAccessible::Dialog
                   : QAccessible::Window;
    }

    int childCount() const override { return int(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> all = children();
        if (index < 0 || index >= all.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(all.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    // As QAccessibleWidget counts them: not top-level windows.
    QList<QWidget *> children() const
    {
        QList<QWidget *> controls;
        for (QWidget *child : static_cast<const FormWindow *>(widget())->accessibleChildren()) {
            if (!child->isWindow())
                controls.append(child);
        }
        return controls;
    }
};

QAccessibleInterface *accessibleFormWindow(const QString &, QObject *object)
{
    auto *window = dynamic_cast<FormWindow *>(object);
    return window ? new AccessibleFormWindow(window) : nullptr;
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

void FormWindow::setAccessibleChildOrder(const QList<QWidget *> &children)
{
    m_accessibleChildOrder.clear();
    for (QWidget *child : children)
        m_accessibleChildOrder.append(child);
}

QList<QWidget *> FormWindow::accessibleChildren() const
{
    QList<QWidget *> ordered;
    for (const QPointer<QWidget> &child : m_accessibleChildOrder) {
        if (child && child->parentWidget() == this)
            ordered.append(child);
    }
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !ordered.contains(child))
            ordered.append(child);
    }
    return ordered;
}

bool FormWindow::event(QEvent *event)
{
    // A deferred deletion deletes the window inside QWidget::event: after it
    // only the activation reports may touch the window.
    const QEvent::Type type = event->type();
    const bool handled = QWidget::event(event);
    if ((type != QEvent::WindowActivate && type != QEvent::WindowDeactivate) || !m_form)
        return handled;
    if (type == QEvent::WindowActivate && m_form->activationReported()) {
        m_activationSettle.start();
    } else if (type == QEvent::WindowDeactivate) {
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
