#include "qt/controls/formbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

namespace {
constexpr int captionMargin = 3;
// The dotted focus frame of a graphical button lies just inside its edge.
constexpr int focusFrameInset = 3;
} // namespace

FormButton::FormButton(const QString &caption, Look look, QWidget *parent)
    : QPushButton(caption, parent)
    , m_look(look)
{
    setAutoDefault(true);
    setDefault(false);
}

void FormButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    if (m_look == Look::Graphical) {
        drawGraphicalFace(painter);
        drawCaption(painter, isDown());
        return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    drawCaption(painter, false);
}

void FormButton::drawGraphicalFace(QPainter &painter) const
{
    const QPalette &colours = palette();
    const QBrush face = colours.button();
    qDrawWinButton(&painter, rect(), colours, isDown(), &face);
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(focusFrameInset, focusFrameInset, -focusFrameInset - 1,
                                         -focusFrameInset - 1));
    }
}

void FormButton::drawCaption(QPainter &painter, bool sunken) const
{
    // The palette's current colour group follows the button's state.
    painter.setPen(palette().color(QPalette::ButtonText));
    QRect area = rect().adjusted(captionMargin, captionMargin, -captionMargin, -captionMargin);
    // A pressed graphical button's caption sinks with its face.
    if (sunken)
        area.translate(1, 1);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
}
