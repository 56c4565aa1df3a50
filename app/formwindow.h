#pragma once

#include <QTimer>
#include <QWidget>

class Form;

// The top-level widget of a loaded form. It reports the window system's
// activation and close requests to its form, and keeps a window that has no
// minimise button from staying minimised.
class FormWindow final : public QWidget
{
public:
    explicit FormWindow(Form &form, Qt::WindowFlags flags);
    Q_DISABLE_COPY_MOVE(FormWindow)

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void comeBackFromMinimised();

    Form &m_form;
    // Restarted by every report of activation or deactivation; fires once
    // they have settled.
    QTimer m_activationSettle;
};
