#pragma once

#include <QTimer>
#include <QWidget>

// What a form window reports to the form it belongs to.
class FormWindowEvents
{
public:
    // How long the window system's activation reports must stay unchanged
    // before an activation counts: a window manager may pass the focus
    // through one window on its way to another.
    static constexpr int activationSettleMs = 150;

    // The window system's report of an activation; false if it is the
    // report of an activation already handled, true if the window must wait
    // for the reports to settle.
    virtual bool activationReported(const QWidget *window) = 0;
    // The window system's report that another window of the program has
    // become the active one, or that the window only lost the focus.
    virtual void deactivationReported(const QWidget *window) = 0;
    // The window system's reports have not changed for activationSettleMs:
    // whether the window is active now decides.
    virtual void activationSettled(const QWidget *window) = 0;
    // The window manager asks to close the window; true lets it close.
    virtual bool windowCloseRequested(const QWidget *window) = 0;

protected:
    FormWindowEvents() = default;
    virtual ~FormWindowEvents() = default;
    Q_DISABLE_COPY_MOVE(FormWindowEvents)
};

// The top-level widget of a loaded form. It reports the window system's
// activation and close requests to its form, and keeps a window that has no
// minimise button from staying minimised.
class FormWindow final : public QWidget
{
public:
    FormWindow(FormWindowEvents &form, Qt::WindowFlags flags);
    Q_DISABLE_COPY_MOVE(FormWindow)

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void comeBackFromMinimised();

    FormWindowEvents &m_form;
    // Restarted by every report of activation or deactivation; fires once
    // they have settled.
    QTimer m_activationSettle;
};
