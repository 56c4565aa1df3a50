#pragma once

#include <QPushButton>

// A push button whose caption wraps at word boundaries when it does not fit
// on one line, as "Forecast Areas" must in its tall, narrow button. The
// caption keeps its "&" access key; Enter presses the button while it has
// the focus.
class FormButton final : public QPushButton
{
public:
    FormButton(const QString &caption, QWidget *parent);
    Q_DISABLE_COPY_MOVE(FormButton)

protected:
    void paintEvent(QPaintEvent *event) override;
};
