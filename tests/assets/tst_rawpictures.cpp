// The raw pictures: each committed raw file holds exactly its source as Qt
// decodes it, the compiled-in copies of the start-up pictures are shown from
// the program's data without being copied, and the format reads as
// documented in rawimage.h.

#include "assets/rawimage.h"

#include <QFile>
#include <QResource>
#include <QTest>

#include <cstring>

class tst_RawPictures : public QObject
{
    Q_OBJECT

private slots:
    void rawFileHoldsItsSource_data();
    void rawFileHoldsItsSource();
    void compiledInPictureIsItsSource_data();
    void compiledInPictureIsItsSource();
    void bytesAreLaidOutAsDocumented();
    void opaquePicturesAreStoredOpaque();
    void compressedResourceIsExpanded();
    void misalignedPixelsAreCopied();
    void whatIsNoRawPictureIsRefused_data();
    void whatIsNoRawPictureIsRefused();
};

namespace {

// The pairs of assets/CMakeLists.txt: source, raw file, source, raw file...
QStringList rawPictures()
{
    return QString::fromUtf8(GALEVANE_RAW_PICTURES).split(u'|');
}

// The raw files that are shown in place (the others are compressed).
QStringList inPlace()
{
    return QString::fromUtf8(GALEVANE_RAW_PICTURES_IN_PLACE).split(u'|');
}

QString inAssets(const QString &file)
{
    return QStringLiteral(GALEVANE_ASSETS_DIR "/") + file;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addPictureRows()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("raw");
    const QStringList pairs = rawPictures();
    QVERIFY(pairs.size() >= 2 && pairs.size() % 2 == 0);
    for (qsizetype i = 0; i < pairs.size(); i += 2)
        QTest::newRow(qPrintable(pairs[i + 1])) << pairs[i] << pairs[i + 1];
}

// A picture with every kind of pixel: opaque, transparent, and partly
// transparent colours whose premultiplied form differs.
QImage mixedPicture()
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 255, 0, 0));
    image.setPixel(2, 0, qRgba(0, 0, 255, 128));
    image.setPixel(0, 1, qRgba(200, 100, 50, 64));
    image.setPixel(1, 1, qRgba(1, 2, 3, 4));
    image.setPixel(2, 1, qRgba(255, 255, 255, 255));
    return image;
}

int releases = 0;

void countRelease(void *)
{
    ++releases;
}

} // namespace

// A source changed without making its raw file again fails here.
void tst_RawPictures::rawFileHoldsItsSource_data()
{
    addPictureRows();
}

void tst_RawPictures::rawFileHoldsItsSource()
{
    QFETCH(QString, source);
    QFETCH(QString, raw);
    const QImage decoded(inAssets(source));
    QVERIFY2(!decoded.isNull(), qPrintable(source));
    const QByteArray committed = fileBytes(inAssets(raw));
    QVERIFY2(!committed.isEmpty(), qPrintable(raw));
    QVERIFY2(committed == rawimage::encode(decoded),
             qPrintable(raw + QStringLiteral(" differs from ") + source +
                        QStringLiteral(": run regenerate_raw_pictures")));
}

void tst_RawPictures::compiledInPictureIsItsSource_data()
{
    addPictureRows();
}

void tst_RawPictures::compiledInPictureIsItsSource()
{
    QFETCH(QString, source);
    QFETCH(QString, raw);
    const QString path = QStringLiteral(":/galevane/") + raw;
    const QResource resource(path);
    const QImage compiledIn = rawimage::fromResource(path);
    const QImage decoded(inAssets(source));
    // The format a pixmap would have given the decoded source.
    QCOMPARE(compiledIn.format(), QPixmap::fromImage(decoded).toImage().format());
    QCOMPARE(compiledIn, decoded.convertToFormat(compiledIn.format()));

    if (!inPlace().contains(raw)) {
        // Kept small in the program's file, expanded when shown.
        QVERIFY(resource.compressionAlgorithm() != QResource::NoCompression);
        return;
    }
    // Stored uncompressed and aligned, the pixels are the resource's own.
    QCOMPARE(resource.compressionAlgorithm(), QResource::NoCompression);
    QCOMPARE(static_cast<const void *>(compiledIn.constBits()),
             static_cast<const void *>(resource.data() + rawimage::headerSize));
    // So is the pixmap made from them.
    const QPixmap pixmap = QPixmap::fromImage(compiledIn);
    QCOMPARE(static_cast<const void *>(pixmap.toImage().constBits()),
             static_cast<const void *>(compiledIn.constBits()));
}

void tst_RawPictures::bytesAreLaidOutAsDocumented()
{
    const QImage image = mixedPicture();
    const QByteArray bytes = rawimage::encode(image);
    QCOMPARE(bytes.size(), rawimage::headerSize + 3 * 2 * 4);
    QCOMPARE(bytes.first(8), QByteArray("RPIXARGB"));
    QCOMPARE(bytes.sliced(8, 8), QByteArray::fromHex("0300000002000000"));
    // Blue, green, red, alpha; premultiplied.
    const QRgb half = qPremultiply(qRgba(0, 0, 255, 128));
    QCOMPARE(bytes.sliced(16, 4), QByteArray::fromHex("0000ffff"));
    QCOMPARE(bytes.sliced(20, 4), QByteArray::fromHex("00000000"));
    QByteArray partly;
    for (int channel : {qBlue(half), qGreen(half), qRed(half), qAlpha(half)})
        partly.append(char(channel));
    QCOMPARE(bytes.sliced(24, 4), partly);

    const QImage decoded = rawimage::decode(bytes);
    QCOMPARE(decoded.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(decoded, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// An opaque picture is stored as such, whatever format it came in, so that a
// pixmap takes it without looking for transparent pixels or converting it.
void tst_RawPictures::opaquePicturesAreStoredOpaque()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 20, 30, 255));
    image.setPixel(1, 0, qRgba(255, 128, 0, 255));
    const QByteArray bytes = rawimage::encode(image);
    QCOMPARE(bytes.first(8), QByteArray("RPIXXRGB"));
    QCOMPARE(bytes.sliced(16), QByteArray::fromHex("1e140aff0080ffff"));
    const QImage decoded = rawimage::decode(bytes);
    QCOMPARE(decoded.format(), QImage::Format_RGB32);
    QCOMPARE(decoded, image.convertToFormat(QImage::Format_RGB32));
}

// A raw picture that rcc compressed is expanded, and freed with the image.
void tst_RawPictures::compressedResourceIsExpanded()
{
    // The test's own compressed copy of the first raw picture.
    const QString compressed = QStringLiteral(":/compressed/picture.argb");
    QVERIFY(QResource(compressed).compressionAlgorithm() != QResource::NoCompression);
    const QImage expanded = rawimage::fromResource(compressed);
    QVERIFY(!expanded.isNull());
    QCOMPARE(expanded, rawimage::fromResource(u":/galevane/"_qs + rawPictures()[1]));
}

// Pixels that do not lie on a 4-byte boundary are read into an image of
// their own (as on a big-endian machine), and the bytes released at once.
void tst_RawPictures::misalignedPixelsAreCopied()
{
    const QByteArray bytes = rawimage::encode(mixedPicture());
    QByteArray buffer(bytes.size() + 8, '\0');
    char *start = buffer.data();
    while (reinterpret_cast<quintptr>(start + rawimage::headerSize) % 4 != 1)
        ++start;
    std::memcpy(start, bytes.constData(), size_t(bytes.size()));

    releases = 0;
    const QImage decoded = rawimage::decode(QByteArrayView(start, bytes.size()), countRelease);
    QCOMPARE(releases, 1);
    QCOMPARE(decoded, mixedPicture().convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QVERIFY(decoded.constBits() != reinterpret_cast<const uchar *>(start) + rawimage::headerSize);
}

void tst_RawPictures::whatIsNoRawPictureIsRefused_data()
{
    const QByteArray good = rawimage::encode(mixedPicture());
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.first(rawimage::headerSize);
    QTest::newRow("one byte short") << good.chopped(1);
    QTest::newRow("one byte long") << good + '\0';
    QByteArray magic = good;
    magic[0] = 'Q';
    QTest::newRow("other magic") << magic;
    QByteArray kind = good;
    kind[4] = 'Y';
    QTest::newRow("other kind") << kind;
    QByteArray noWidth = good;
    noWidth.replace(8, 4, QByteArray(4, '\0'));
    QTest::newRow("no width") << noWidth;
}

void tst_RawPictures::whatIsNoRawPictureIsRefused()
{
    QFETCH(QByteArray, bytes);
    releases = 0;
    QVERIFY(rawimage::decode(bytes, countRelease).isNull());
    QCOMPARE(releases, 1);
}

QTEST_MAIN(tst_RawPictures)
#include "tst_rawpictures.moc"
