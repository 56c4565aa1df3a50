#include "form.h"

#include "formwindow.h"

#include <QTimer>

#include <algorithm>

namespace {
// Long enough for a window manager's focus hand-over to finish, short
// enough that a user's click on a window is answered at once.
constexpr int activationSettleMs = 150;
} // namespace

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
    w.show();
    w.raise();
    w.activateWindow();
    if (!programHasEnded())
        Form_Activate();
}

void Form::Hide()
{
    if (m_window)
        m_window->hide();
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
    window().setEnabled(enabled);
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

bool Form::isActive() const
{
    return m_window && m_window->isActiveWindow();
}

FormWindow &Form::window()
{
    Load();
    return *m_window;
}

void Form::windowActivated(const FormWindow *window)
{
    // A window already unloaded may still hear from the window system
    // before it is deleted; it no longer speaks for the form.
    if (window != m_window.get())
        return;
    if (programHasEnded())
        return;
    // The window system reports activations as they happen, and on closing
    // or hiding a window a window manager may pass the focus through one
    // window on its way to the one the program brought forward. Only a
    // window still active once that has settled has become the active one.
    QTimer::singleShot(activationSettleMs, window, [this, window] {
        if (!programHasEnded() && window == m_window.get() && window->isActiveWindow())
            Form_Activate();
    });
}

bool Form::windowCloseRequested(const FormWindow *window)
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
}

void Form::vanish()
{
    if (m_window)
        m_window->hide();
}
