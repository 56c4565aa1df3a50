#include "formbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int captionMargin = 3;
}

FormButton::FormButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setAutoDefault(true);
    setDefault(false);
}

void FormButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.setPen(palette().color(group, QPalette::ButtonText));
    const QRect area =
        rect().adjusted(captionMargin, captionMargin, -captionMargin, -captionMargin);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, caption);
}
