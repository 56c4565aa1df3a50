#pragma once

#include <QFont>
#include <QString>

// The four typefaces the windows are designed in. Each is drawn with a free
// stand-in that Debian ships (fonts-liberation2, fonts-comic-neue), chosen
// here rather than by the machine's font configuration so that the windows
// look the same wherever they run.
enum class DesignFace { MsSansSerif, TimesNewRoman, ComicSansMs, Arial };

struct FontSpec
{
    DesignFace face;
    double points;
    bool bold;
    bool underline;
};

// The dialog font, the default of every control, and its bold cut, which
// the buttons and the small print of all windows use.
namespace DesignFonts {
inline constexpr FontSpec dialog{DesignFace::MsSansSerif, 8.25, false, false};
inline constexpr FontSpec dialogBold{DesignFace::MsSansSerif, 8.25, true, false};
} // namespace DesignFonts

[[nodiscard]] QString designFamily(DesignFace face);
[[nodiscard]] QString standInFamily(DesignFace face);

// The font for a layout entry, sized in logical pixels so that text keeps
// its place among controls laid out in twips at 96 dots per inch. It names
// the stand-in family only.
[[nodiscard]] QFont designFont(const FontSpec &wanted);

// Makes each design family name resolve to its stand-in, for any text that
// names the design family directly.
void registerFontSubstitutions();

// Registers the substitutions and makes the dialog font the application's
// default. Every control names its font, so no other font file is read at
// start-up.
void useDesignFonts();
