#pragma once

#include "core/design/designcolour.h"
#include "core/design/twips.h"
#include "qt/controls/designlook.h"

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QSize>
#include <QString>

#include <string_view>

// The design's units, colours and texts as Qt takes them.

[[nodiscard]] constexpr QRect toQRect(const PixelRect &rect)
{
    return QRect(rect.left, rect.top, rect.width, rect.height);
}

// Layouts in twips to Qt's logical pixels, at 96 logical dots per inch; Qt
// applies the screen's device pixel ratio on top.
[[nodiscard]] constexpr QRect twipsToQRect(const TwipRect &rect)
{
    return toQRect(twipsToPixels(rect));
}

[[nodiscard]] constexpr QSize twipsToQSize(const TwipSize &size)
{
    const PixelSize pixels = twipsToPixels(size);
    return QSize(pixels.width, pixels.height);
}

// The palette role that holds a design colour role in Qt.
[[nodiscard]] constexpr QPalette::ColorRole paletteRole(SystemColour role)
{
    switch (role) {
    case SystemColour::WindowBackground:
        return QPalette::Base;
    case SystemColour::WindowText:
        return QPalette::Text;
    case SystemColour::ButtonFace:
        return QPalette::Button;
    case SystemColour::ButtonText:
        return QPalette::ButtonText;
    case SystemColour::HighlightText:
        return QPalette::HighlightedText;
    }
    return QPalette::NoRole;
}

// The colour itself, system roles looked up in the design's standard light
// palette, whatever colour scheme the desktop has; an invalid colour when
// unset.
[[nodiscard]] inline QColor resolved(const DesignColour &colour)
{
    switch (colour.kind) {
    case DesignColour::Kind::Rgb:
        return QColor(colour.red(), colour.green(), colour.blue());
    case DesignColour::Kind::System:
        return designPalette().color(QPalette::Active, paletteRole(colour.role));
    case DesignColour::Kind::Unset:
        break;
    }
    return {};
}

[[nodiscard]] inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

[[nodiscard]] inline QString toQString(std::string_view latin1)
{
    return QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
}

// The UTF-16 text a QString holds, as the core reads text.
[[nodiscard]] inline std::u16string_view utf16View(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}
