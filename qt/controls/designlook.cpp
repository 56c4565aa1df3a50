#include "qt/controls/designlook.h"

#include <QStyle>
#include <QStyleFactory>

#include <iterator>

QStyle *createDesignStyle()
{
    return QStyleFactory::create(QStringLiteral("Fusion"));
}

namespace {

// The standard light palette, as Qt's Fusion style is drawn in on a desktop
// that names no colour scheme: the same in active and inactive windows, with
// greyed text and lines where the control is disabled. Written out, because
// Qt's own answer (a style's standard palette) follows the desktop's scheme
// where a platform theme supplies one.
struct RoleColours
{
    QPalette::ColorRole role;
    QRgb enabled;
    QRgb disabled;
};

constexpr RoleColours standardLight[] = {
    {QPalette::WindowText, 0xff000000, 0xffbebebe},
    {QPalette::Button, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xffbebebe},
    {QPalette::BrightText, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xffbebebe},
    {QPalette::Base, 0xffffffff, 0xffefefef},
    {QPalette::Window, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
};
static_assert(std::size(standardLight) == QPalette::NColorRoles - 1, "every role but NoRole");

} // namespace

const QPalette &designPalette()
{
    // Every brush set, so every role counts as set.
    static const QPalette palette = [] {
        QPalette light;
        for (const RoleColours &colours : standardLight) {
            const QColor enabled = QColor::fromRgba(colours.enabled);
            light.setBrush(QPalette::Active, colours.role, enabled);
            light.setBrush(QPalette::Inactive, colours.role, enabled);
            light.setBrush(QPalette::Disabled, colours.role, QColor::fromRgba(colours.disabled));
        }
        return light;
    }();
    return palette;
}
