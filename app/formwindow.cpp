#include "formwindow.h"

#include "form.h"

#include <QCloseEvent>

FormWindow::FormWindow(Form &form, Qt::WindowFlags flags)
    : QWidget(nullptr, flags)
    , m_form(form)
{}

bool FormWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        m_form.windowActivated(this);
    return handled;
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    if (m_form.windowCloseRequested(this))
        event->accept();
    else
        event->ignore();
}
