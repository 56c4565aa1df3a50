#include "form.h"

#include "formwindow.h"

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
    w.show();
    w.raise();
    w.activateWindow();
    if (QApplication::activeWindow() != &w)
        WindowRegistry::current().expectActivation(this);
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

void Form::windowActivated()
{
    if (programHasEnded() || !WindowRegistry::current().isUserActivation(this))
        return;
    Form_Activate();
}

bool Form::windowCloseRequested()
{
    if (programHasEnded())
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
