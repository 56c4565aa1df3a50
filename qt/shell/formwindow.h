#pragma once

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class FormEvents;

// The top-level widget of a loaded form. It reports the window system's
// activation and close requests to its form until it is detached, and keeps
// a window that has no minimise button from staying minimised.
class FormWindow final : public QWidget
{
public:
    // How long the window system's activation reports must stay unchanged
    // before an activation counts: a window manager may pass the focus
    // through one window on its way to another. Tests of the window
    // operations alone may wait less.
    static constexpr int defaultActivationSettleMs = 150;

    FormWindow(FormEvents &form, Qt::WindowFlags flags,
               int activationSettleMs = defaultActivationSettleMs);
    Q_DISABLE_COPY_MOVE(FormWindow)

    // The window no longer speaks for its form: it has been unloaded, and
    // may still hear from the window system before it is deleted.
    void detach();

    // To assistive technology the window is a dialog rather than a plain
    // window: announced as one, with its description, when it opens.
    void setAccessibleDialog(bool dialog) { m_accessibleDialog = dialog; }
    [[nodiscard]] bool isAccessibleDialog() const { return m_accessibleDialog; }

    // The order in which assistive technology meets the window's controls,
    // apart from the order they are painted in (their order as children).
    // Children left out of it follow, in their own order.
    void setAccessibleChildOrder(const QList<QWidget *> &children);
    [[nodiscard]] QList<QWidget *> accessibleChildren() const;

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void comeBackFromMinimised();

    FormEvents *m_form;
    bool m_accessibleDialog = false;
    QList<QPointer<QWidget>> m_accessibleChildOrder;
    // Restarted by every report of activation or deactivation; fires once
    // they have settled.
    QTimer m_activationSettle;
};
