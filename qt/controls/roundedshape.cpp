#include "qt/controls/roundedshape.h"

#include <QPainter>

#include <algorithm>

namespace {
// The corners are rounded by a sixth of the shorter side, as a rounded
// rectangle shape control draws them.
constexpr double cornerShare = 1.0 / 6.0;
} // namespace

RoundedShape::RoundedShape(QWidget *parent, QColor fill, QColor border, int borderPixels)
    : QWidget(parent)
    , m_fill(fill)
    , m_border(border)
    , m_borderPixels(borderPixels)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void RoundedShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = m_borderPixels / 2.0;
    const QRectF outline = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const double radius = std::min(width(), height()) * cornerShare;
    painter.setPen(QPen(m_border, m_borderPixels));
    painter.setBrush(m_fill);
    painter.drawRoundedRect(outline, radius, radius);
}
