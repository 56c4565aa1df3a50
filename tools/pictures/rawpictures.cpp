// Makes the raw pictures that the program compiles in (assets/rawimage.h)
// from their committed sources, decoding each with Qt exactly as the program
// would have to:
//   rawpictures <source> <raw file> [<source> <raw file> ...]
// The build runs it only on request, through the regenerate_raw_pictures
// target, which passes the pairs that assets/CMakeLists.txt lists.

#include "assets/rawimage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty() || arguments.size() % 2 != 0) {
        std::fprintf(stderr, "usage: rawpictures <source> <raw file> [<source> <raw file> ...]\n");
        return 2;
    }
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString &source = arguments[i];
        const QString &target = arguments[i + 1];
        QImageReader reader(source);
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "rawpictures: %s: %s\n", qPrintable(source),
                         qPrintable(reader.errorString()));
            return 1;
        }
        QDir().mkpath(QFileInfo(target).path());
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(rawimage::encode(image)) < 0 ||
            !out.commit()) {
            std::fprintf(stderr, "rawpictures: %s: %s\n", qPrintable(target),
                         qPrintable(out.errorString()));
            return 1;
        }
        std::printf("%s -> %s (%dx%d)\n", qPrintable(source), qPrintable(target), image.width(),
                    image.height());
    }
    return 0;
}
