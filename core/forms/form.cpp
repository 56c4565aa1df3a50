#include "core/forms/form.h"

Form::~Form()
{
    // Nothing runs any more: the window goes at once.
    m_view.reset();
}

bool Form::programHasEnded()
{
    return WindowRegistry::current().hasEnded();
}

void Form::Load()
{
    if (m_view)
        return;
    m_view = WindowRegistry::current().frontEnd().build(*this, design());
}

void Form::Show()
{
    FormView &v = view();
    const bool alreadyActive = v.isVisible() && v.isActive();
    v.show();
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
    if (!m_view)
        return;
    m_view->hide();
    // A hidden window is not active, whatever the window system reports
    // about it later.
    m_activationHandled = false;
    m_activationReportExpected = false;
}

void Form::Visible(bool visible)
{
    if (visible)
        view().showInPlace();
    else
        Hide();
}

void Form::Enabled(bool enabled)
{
    view().setInputEnabled(enabled);
}

void Form::Unload()
{
    if (!m_view || m_unloading || programHasEnded())
        return;
    if (runUnload() && !programHasEnded())
        discardView();
}

bool Form::isVisible() const
{
    return m_view && m_view->isVisible();
}

bool Form::isEnabled() const
{
    return m_view && m_view->isInputEnabled();
}

FormView &Form::view()
{
    Load();
    return *m_view;
}

bool Form::activationReported()
{
    if (programHasEnded())
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

void Form::deactivationReported(bool toAnotherWindow)
{
    // Handed over to another window of the program: its next activation is a
    // new one, however soon it comes. A loss of the focus to nothing (a
    // window manager's grab) may be taken back and waits to settle.
    if (toAnotherWindow)
        m_activationHandled = false;
}

void Form::activationSettled(bool activeNow)
{
    if (programHasEnded())
        return;
    if (!activeNow) {
        m_activationHandled = false;
        return;
    }
    if (m_activationHandled)
        return;
    m_activationHandled = true;
    Form_Activate();
}

bool Form::closeRequested()
{
    if (programHasEnded())
        return true;
    // A window whose input is off cannot be closed, just as it cannot be clicked.
    if (!m_view || !m_view->isInputEnabled() || m_unloading)
        return false;
    const bool goAhead = runUnload();
    if (programHasEnded())
        return true;
    if (!goAhead)
        return false;
    discardView();
    closedByWindowManager();
    return true;
}

void Form::clicked(std::string_view control)
{
    if (!programHasEnded())
        controlClicked(control);
}

bool Form::runUnload()
{
    m_unloading = true;
    bool cancel = false;
    Form_Unload(cancel);
    m_unloading = false;
    return !cancel;
}

void Form::discardView()
{
    if (!m_view)
        return;
    m_view->hide();
    m_activationHandled = false;
    m_activationReportExpected = false;
    WindowRegistry::current().frontEnd().discard(std::move(m_view));
}

void Form::vanish()
{
    if (m_view)
        m_view->hide();
}
