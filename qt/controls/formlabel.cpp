#include "qt/controls/formlabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

class AccessibleClickableLabel final : public QAccessibleWidget
{
public:
    explicit AccessibleClickableLabel(ClickableLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<ClickableLabel *>(widget())->press();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

QAccessibleInterface *accessibleClickableLabel(const QString &, QObject *object)
{
    auto *label = qobject_cast<ClickableLabel *>(object);
    return label ? new AccessibleClickableLabel(label) : nullptr;
}

} // namespace

FormLabel::FormLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setMargin(0);
    setIndent(0);
}

ClickableLabel::ClickableLabel(QWidget *parent)
    : FormLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    static const bool installed = [] {
        QAccessible::installFactory(accessibleClickableLabel);
        return true;
    }();
    Q_UNUSED(installed)
}

void ClickableLabel::press()
{
    emit clicked();
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        press();
}
