#pragma once

#include "core/design/designfonts.h"

#include <QFont>
#include <QString>

// The design's four typefaces in Qt. Each is drawn with a free stand-in that
// Debian ships (fonts-liberation2, fonts-comic-neue), chosen here rather
// than by the machine's font configuration so that the windows look the
// same wherever they run.

[[nodiscard]] QString designFamilyName(DesignFace face);
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
