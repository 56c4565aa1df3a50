#include "designfonts.h"

#include "twips.h"

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

QFont designFont(const FontSpec &spec)
{
    QFont font;
    QStringList families;
    families << standInFamily(spec.face) << designFamily(spec.face);
    font.setFamilies(families);
    font.setPixelSize(pointsToPixels(spec.points));
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    return font;
}

void registerFontSubstitutions()
{
    for (DesignFace face : {DesignFace::MsSansSerif, DesignFace::TimesNewRoman,
                            DesignFace::ComicSansMs, DesignFace::Arial}) {
        QFont::insertSubstitution(designFamily(face), standInFamily(face));
    }
}
