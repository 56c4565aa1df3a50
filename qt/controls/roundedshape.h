#pragma once

#include <QColor>
#include <QWidget>

// A rounded rectangle with an opaque fill and a solid border drawn inside
// its bounds.
class RoundedShape final : public QWidget
{
public:
    RoundedShape(QWidget *parent, QColor fill, QColor border, int borderPixels);
    Q_DISABLE_COPY_MOVE(RoundedShape)

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
    QColor m_border;
    int m_borderPixels;
};
