#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QRgb>

// A colour the windows are designed in: either fixed RGB or a role of the
// desktop's colour scheme, looked up in the application palette when it is
// resolved.
struct DesignColour
{
    enum class Kind { Unset, Rgb, System };
    Kind kind = Kind::Unset;
    QRgb rgb = 0;
    QPalette::ColorRole role = QPalette::NoRole;

    static constexpr DesignColour fixed(QRgb value) { return {Kind::Rgb, value, QPalette::NoRole}; }
    static constexpr DesignColour system(QPalette::ColorRole r) { return {Kind::System, 0, r}; }

    [[nodiscard]] constexpr bool isSet() const { return kind != Kind::Unset; }

    // The colour itself; an invalid colour when unset.
    [[nodiscard]] QColor resolved() const
    {
        switch (kind) {
        case Kind::Rgb:
            return QColor::fromRgb(rgb);
        case Kind::System:
            return QGuiApplication::palette().color(QPalette::Active, role);
        case Kind::Unset:
            break;
        }
        return {};
    }
};

// Every colour of the four windows, each written once.
namespace DesignPalette {
inline constexpr DesignColour lightCyan = DesignColour::fixed(qRgb(128, 255, 255));
inline constexpr DesignColour lightYellow = DesignColour::fixed(qRgb(255, 255, 128));
inline constexpr DesignColour magenta = DesignColour::fixed(qRgb(255, 0, 255));
inline constexpr DesignColour red = DesignColour::fixed(qRgb(255, 0, 0));
inline constexpr DesignColour black = DesignColour::fixed(qRgb(0, 0, 0));
inline constexpr DesignColour white = DesignColour::fixed(qRgb(255, 255, 255));
inline constexpr DesignColour darkBlue = DesignColour::fixed(qRgb(0, 0, 192));

// The desktop colour roles the windows use, by their design names.
inline constexpr DesignColour windowBackground = DesignColour::system(QPalette::Base);
inline constexpr DesignColour windowText = DesignColour::system(QPalette::Text);
inline constexpr DesignColour buttonText = DesignColour::system(QPalette::ButtonText);
inline constexpr DesignColour highlightText = DesignColour::system(QPalette::HighlightedText);
} // namespace DesignPalette
