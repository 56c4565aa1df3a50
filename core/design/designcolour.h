#pragma once

#include <cstdint>

// The roles of the desktop's colour scheme that the windows are designed in,
// by their design names. Each front end looks the role up in the standard
// scheme of its window system.
enum class SystemColour {
    WindowBackground,
    WindowText,
    ButtonFace,
    ButtonText,
    HighlightText,
};

// A colour the windows are designed in: either fixed RGB or a role of the
// desktop's colour scheme.
struct DesignColour
{
    enum class Kind { Unset, Rgb, System };
    Kind kind = Kind::Unset;
    std::uint32_t rgb = 0; // 0xRRGGBB
    SystemColour role = SystemColour::WindowBackground;

    static constexpr DesignColour fixed(int red, int green, int blue)
    {
        return {Kind::Rgb, static_cast<std::uint32_t>((red << 16) | (green << 8) | blue),
                SystemColour::WindowBackground};
    }
    static constexpr DesignColour system(SystemColour r) { return {Kind::System, 0, r}; }

    [[nodiscard]] constexpr bool isSet() const { return kind != Kind::Unset; }
    [[nodiscard]] constexpr int red() const { return static_cast<int>((rgb >> 16) & 0xff); }
    [[nodiscard]] constexpr int green() const { return static_cast<int>((rgb >> 8) & 0xff); }
    [[nodiscard]] constexpr int blue() const { return static_cast<int>(rgb & 0xff); }
};

// Every colour of the four windows, each written once.
namespace DesignPalette {
inline constexpr DesignColour lightCyan = DesignColour::fixed(128, 255, 255);
inline constexpr DesignColour lightYellow = DesignColour::fixed(255, 255, 128);
inline constexpr DesignColour magenta = DesignColour::fixed(255, 0, 255);
inline constexpr DesignColour red = DesignColour::fixed(255, 0, 0);
inline constexpr DesignColour black = DesignColour::fixed(0, 0, 0);
inline constexpr DesignColour white = DesignColour::fixed(255, 255, 255);
inline constexpr DesignColour darkBlue = DesignColour::fixed(0, 0, 192);

inline constexpr DesignColour windowBackground =
    DesignColour::system(SystemColour::WindowBackground);
inline constexpr DesignColour windowText = DesignColour::system(SystemColour::WindowText);
inline constexpr DesignColour buttonText = DesignColour::system(SystemColour::ButtonText);
inline constexpr DesignColour highlightText = DesignColour::system(SystemColour::HighlightText);
} // namespace DesignPalette
