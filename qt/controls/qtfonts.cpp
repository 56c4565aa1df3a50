#include "qt/controls/qtfonts.h"

#include "core/design/twips.h"

#include <QApplication>
#include <QStringList>

QString designFamilyName(DesignFace face)
{
    const std::u16string_view name = designFamily(face);
    return QString(reinterpret_cast<const QChar *>(name.data()), qsizetype(name.size()));
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
    for (DesignFace face : allDesignFaces)
        QFont::insertSubstitution(designFamilyName(face), standInFamily(face));
}

void useDesignFonts()
{
    registerFontSubstitutions();
    QApplication::setFont(designFont(DesignFonts::dialog));
}
