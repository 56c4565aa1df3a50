#include "qt/controls/inputofflook.h"

#include "qt/controls/designlook.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

namespace {

// Disabled only because its window's input is off, not on its own account.
bool disabledByItsWindow(const QWidget *widget)
{
    return widget && !widget->isEnabled() && !widget->testAttribute(Qt::WA_ForceDisabled);
}

QPalette::ColorGroup lookingGroup(const QWidget &widget)
{
    return widget.window()->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// Draws controls that are disabled only through their window as the style
// draws them enabled. Styles read the enabled state from the option they are
// given, so the option is shown as enabled for the one drawing call and then
// put back as it was.
class InputOffLookStyle final : public QProxyStyle
{
public:
    explicit InputOffLookStyle(QStyle *base)
        : QProxyStyle(base)
    {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        asEnabled(option, widget,
                  [&] { QProxyStyle::drawPrimitive(element, option, painter, widget); });
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        asEnabled(option, widget,
                  [&] { QProxyStyle::drawControl(element, option, painter, widget); });
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        asEnabled(option, widget,
                  [&] { QProxyStyle::drawComplexControl(control, option, painter, widget); });
    }

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                      bool enabled, const QString &text,
                      QPalette::ColorRole textRole) const override
    {
        // No widget is passed here; the painter's device is the one drawn.
        const auto *widget = dynamic_cast<const QWidget *>(painter->device());
        if (!enabled && disabledByItsWindow(widget)) {
            QPalette shown = palette;
            shown.setCurrentColorGroup(lookingGroup(*widget));
            QProxyStyle::drawItemText(painter, rect, flags, shown, true, text, textRole);
            return;
        }
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    }

private:
    template <class Draw>
    static void asEnabled(const QStyleOption *option, const QWidget *widget, Draw draw)
    {
        if (!option || !disabledByItsWindow(widget)) {
            draw();
            return;
        }
        auto *shown = const_cast<QStyleOption *>(option);
        const QStyle::State state = shown->state;
        const QPalette::ColorGroup group = shown->palette.currentColorGroup();
        shown->state |= State_Enabled;
        shown->palette.setCurrentColorGroup(lookingGroup(*widget));
        draw();
        shown->state = state;
        shown->palette.setCurrentColorGroup(group);
    }
};

} // namespace

QStyle &inputOffLookStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new InputOffLookStyle(createDesignStyle());
        style->setParent(qApp);
    }
    return *style;
}

QPalette withInputOffLook(QPalette colours)
{
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = QPalette::ColorRole(role);
        if (r != QPalette::NoRole)
            colours.setBrush(QPalette::Disabled, r, colours.brush(QPalette::Inactive, r));
    }
    return colours;
}

void keepLookWhileInputOff(QWidget &window)
{
    // Set on each control only where the application draws in another
    // style: per control, Qt polishes the control again and keeps a record
    // of the style for it.
    QStyle &style = inputOffLookStyle();
    if (QApplication::style() == &style)
        return;
    for (QWidget *control : window.findChildren<QWidget *>())
        control->setStyle(&style);
}
