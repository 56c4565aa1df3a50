#include "ui/controls/designfonts.h"

#include "ui/controls/twips.h"

#include <QApplication>
#include <QStringList>

QString designFamily(DesignFace face)
{
    switch (face) {
    case DesignFace::MsSansSerif:
        return QStringLiteral("MS Sans Serif");
    case DesignFace::TimesNewRoman:
        return QStringLiteral("Times New Roman");
    case DesignFace::ComicSansMs:
        return QStringLiteral("Comic Sans MS");
    case DesignFace::Arial:
        return QStringLiteral("Arial");
    }
    return {};
}

QString standInFamily(DesignFace face)
{
    switch (face) {
    case DesignFace::MsSansSerif:
    case DesignFace::Arial:
        return QStringLiteral("Liberation Sans");
    case DesignFace::TimesNewRoman:
        return QStringLiteral("Liberation Serif");
    case DesignFace::ComicSansMs:
        return QStringLiteral("Comic Neue");
    }
    return {};
}

QFont designFont(const FontSpec &wanted)
{
    QFont font;
    // The stand-in alone: a second family would only make the font database
    // look for fallbacks of its own, and the substitutions already send the
    // design name to the stand-in.
    font.setFamilies({standInFamily(wanted.face)});
    font.setPixelSize(pointsToPixels(wanted.points));
    font.setBold(wanted.bold);
    font.setUnderline(wanted.underline);
    return font;
}

void registerFontSubstitutions()
{
    for (DesignFace face : {DesignFace::MsSansSerif, DesignFace::TimesNewRoman,
                            DesignFace::ComicSansMs, DesignFace::Arial}) {
        QFont::insertSubstitution(designFamily(face), standInFamily(face));
    }
}

void useDesignFonts()
{
    registerFontSubstitutions();
    QApplication::setFont(designFont(DesignFonts::dialog));
}
