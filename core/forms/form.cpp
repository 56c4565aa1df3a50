#include "shell/form.h"

#include <QApplication>

#include <algorithm>

void Form::DeleteLater::operator()(FormWindow *window) const
{
    window->deleteLater();
}

Form::~Form()
{
    // Nothing runs any more: delete at once what would otherwise wait for an
    // event loop that may never come back.
    delete m_window.release();
    for (const QPointer<FormWindow> &window : m_discarded)
        delete window.data();
}

bool Form::programHasEnded()
{
    return WindowRegistry::current().hasEnded();
}

void Form::Load()
{
    if (m_window)
        return;
    m_discarded.erase(std::remove_if(m_discarded.begin(), m_discarded.end(),
                                     [](const QPointer<FormWindow> &w) { return w.isNull(); }),
                      m_discarded.end());
    m_window.reset(createWindow().release());
}

void Form::Show()
{
    FormWindow &w = window();
    const bool alreadyActive = w.isVisible() && w.isActiveWindow();
    w.show();
    w.raise();
    w.activateWindow();
    if (alreadyActive || programHasEnded())
        return;
    // This is the activation; the window system's report of it, arriving
    // later, is not another one.
    m_activationHandled = true;
    m_activationReportExpected = true;
    Form_Activate();
}

void Form::Hide()
{
    if (!m_window)
        return;
    m_window->hide();
    // A hidden window is not active, whatever the window system reports
    // about it later.
    m_activationHandled = false;
    m_activationReportExpected = false;
}

void Form::Visible(bool visible)
{
    if (visible)
        window().show();
    else
        Hide();
}

void Form::Enabled(bool enabled)
{
    FormWindow &w = window();
    if (!enabled && w.isEnabled())
        m_focusBeforeInputOff = w.focusWidget();
    w.setEnabled(enabled);
    // Switching the input off takes the focus out of the window; it goes
    // back to where it was, rather than to the first control.
    if (enabled && m_focusBeforeInputOff) {
        m_focusBeforeInputOff->setFocus(Qt::OtherFocusReason);
        m_focusBeforeInputOff = nullptr;
    }
}

void Form::Unload()
{
    if (!m_window || m_unloading || programHasEnded())
        return;
    if (runUnload() && !programHasEnded())
        discardWindow();
}

bool Form::isVisible() const
{
    return m_window && m_window->isVisible();
}

bool Form::isEnabled() const
{
    return m_window && m_window->isEnabled();
}

FormWindow &Form::window()
{
    Load();
    return *m_window;
}

// A window already unloaded may still hear from the window system before it
// is deleted; it no longer speaks for the form.

bool Form::activationReported(const QWidget *window)
{
    if (window != m_window.get() || programHasEnded())
        return false;
    if (m_activationReportExpected) {
        m_activationReportExpected = false;
        m_activationHandled = true;
        return false;
    }
    // On closing or hiding a window a window manager may pass the focus
    // through one window on its way to the one the program brought forward,
    // or report a focus change it takes back at once: only what lasts counts.
    return true;
}

void Form::deactivationReported(const QWidget *window)
{
    // Handed over to another window of the program: its next activation is a
    // new one, however soon it comes. A loss of the focus to nothing (a
    // window manager's grab) may be taken back and waits to settle.
    if (window == m_window.get() && !window->isActiveWindow() && QApplication::activeWindow())
        m_activationHandled = false;
}

void Form::activationSettled(const QWidget *window)
{
    if (window != m_window.get() || programHasEnded())
        return;
    if (!window->isActiveWindow()) {
        m_activationHandled = false;
        return;
    }
    if (m_activationHandled)
        return;
    m_activationHandled = true;
    Form_Activate();
}

bool Form::windowCloseRequested(const QWidget *window)
{
    if (programHasEnded() || window != m_window.get())
        return true;
    // A window whose input is off cannot be closed, just as it cannot be clicked.
    if (!m_window || !m_window->isEnabled() || m_unloading)
        return false;
    const bool goAhead = runUnload();
    if (programHasEnded())
        return true;
    if (!goAhead)
        return false;
    discardWindow();
    closedByWindowManager();
    return true;
}

bool Form::runUnload()
{
    m_unloading = true;
    bool cancel = false;
    Form_Unload(cancel);
    m_unloading = false;
    return !cancel;
}

void Form::discardWindow()
{
    if (!m_window)
        return;
    m_window->hide();
    m_discarded.emplace_back(m_window.get());
    m_window.reset();
    m_activationHandled = false;
    m_activationReportExpected = false;
    m_focusBeforeInputOff = nullptr;
}

void Form::vanish()
{
    if (m_window)
        m_window->hide();
}
