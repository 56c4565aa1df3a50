#pragma once

#include <QWidget>

class Form;

// The top-level widget of a loaded form. It reports the window system's
// activation and close requests to its form and does nothing else.
class FormWindow final : public QWidget
{
public:
    explicit FormWindow(Form &form, Qt::WindowFlags flags);
    Q_DISABLE_COPY_MOVE(FormWindow)

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Form &m_form;
};
