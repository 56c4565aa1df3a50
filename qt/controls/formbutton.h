#pragma once

#include <QPushButton>

// A push button whose caption wraps at word boundaries when it does not fit
// on one line, as "Forecast Areas" must in its tall, narrow button. The
// caption keeps its "&" access key; Enter presses the button while it has
// the focus.
//
// A standard button has the platform's look. A graphical one is drawn the
// same under every style: a flat face of exactly its face colour (the
// palette's Button colour) inside a raised three-dimensional edge that sinks
// while the button is pressed, and its caption in the button-text colour.
class FormButton final : public QPushButton
{
public:
    enum class Look { Standard, Graphical };

    FormButton(const QString &caption, Look look, QWidget *parent);
    Q_DISABLE_COPY_MOVE(FormButton)

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawGraphicalFace(QPainter &painter) const;
    void drawCaption(QPainter &painter, bool sunken) const;

    Look m_look;
};
