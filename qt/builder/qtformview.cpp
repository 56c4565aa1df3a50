#include "qt/builder/qtformview.h"

#include "core/forms/form.h"
#include "qt/builder/controlaccess.h"
#include "qt/builder/panelguard.h"
#include "qt/controls/formtextbox.h"
#include "qt/controls/scalecombobox.h"
#include "qt/shell/formwindow.h"

#include <string>

QtFormView::QtFormView(std::unique_ptr<FormWindow> window)
    : m_window(window.release())
{}

QtFormView::~QtFormView()
{
    delete m_window.data();
}

void QtFormView::show()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QtFormView::showInPlace()
{
    m_window->show();
}

void QtFormView::hide()
{
    m_window->hide();
}

bool QtFormView::isVisible() const
{
    return m_window->isVisible();
}

bool QtFormView::isActive() const
{
    return m_window->isActiveWindow();
}

void QtFormView::setInputEnabled(bool enabled)
{
    if (!enabled && m_window->isEnabled())
        m_focusBeforeInputOff = m_window->focusWidget();
    m_window->setEnabled(enabled);
    // Switching the input off takes the focus out of the window; it goes
    // back to where it was, rather than to the first control.
    if (enabled && m_focusBeforeInputOff) {
        m_focusBeforeInputOff->setFocus(Qt::OtherFocusReason);
        m_focusBeforeInputOff = nullptr;
    }
}

bool QtFormView::isInputEnabled() const
{
    return m_window->isEnabled();
}

void QtFormView::keepAbove(FormView &lower)
{
    auto &lowerView = dynamic_cast<QtFormView &>(lower);
    PanelGuard::hold(*lowerView.m_window, *m_window);
}

ComboBoxControl &QtFormView::comboBox(std::string_view name)
{
    return control<ScaleComboBox>(*m_window, std::string(name).c_str());
}

TextBoxControl &QtFormView::textBox(std::string_view name)
{
    return control<FormTextBox>(*m_window, std::string(name).c_str());
}

void QtFormView::releaseLater()
{
    if (!m_window)
        return;
    m_window->detach();
    m_window->hide();
    m_window->deleteLater();
}

FormWindow *loadedWidget(const Form &form)
{
    const auto *view = dynamic_cast<const QtFormView *>(form.loadedView());
    return view ? view->window() : nullptr;
}
