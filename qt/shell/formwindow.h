#pragma once

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

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void comeBackFromMinimised();

    FormEvents *m_form;
    // Restarted by every report of activation or deactivation; fires once
    // they have settled.
    QTimer m_activationSettle;
};
