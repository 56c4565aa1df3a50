#pragma once

#include <QLabel>

// A label as the windows use it: transparent, text centred and drawn from the
// top, wrapped at word boundaries, never resized to its text, never focused.
class FormLabel : public QLabel
{
public:
    explicit FormLabel(QWidget *parent);
    Q_DISABLE_COPY_MOVE(FormLabel)
};

// A label that reacts to a click of the left mouse button, released over it.
// It takes no focus; assistive technology can press it instead, through its
// "Press" action, which does what a click does.
class ClickableLabel final : public FormLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent);
    Q_DISABLE_COPY_MOVE(ClickableLabel)

    // What a click does, for a user who cannot click.
    void press();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
