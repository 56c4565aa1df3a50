#include "assets/rawimage.h"

#include <QResource>
#include <QSysInfo>
#include <QtEndian>

namespace rawimage {

namespace {

// QImage's own limit on either side.
constexpr quint32 largestSide = 32767;

void appendWord(QByteArray &bytes, quint32 word)
{
    char little[4];
    qToLittleEndian(word, little);
    bytes.append(little, sizeof little);
}

// The pixel format the header states, or Format_Invalid if it states none.
QImage::Format pictureFormat(QByteArrayView bytes)
{
    const QByteArrayView kind = bytes.sliced(magic.size(), 4);
    if (kind == withAlpha)
        return QImage::Format_ARGB32_Premultiplied;
    if (kind == opaque)
        return QImage::Format_RGB32;
    return QImage::Format_Invalid;
}

// The size the header states, or an empty size if `bytes` are no raw picture
// or do not hold exactly that many pixels.
QSize pictureSize(QByteArrayView bytes)
{
    if (bytes.size() < headerSize || !bytes.startsWith(magic) ||
        pictureFormat(bytes) == QImage::Format_Invalid)
        return {};
    const quint32 width = qFromLittleEndian<quint32>(bytes.data() + 8);
    const quint32 height = qFromLittleEndian<quint32>(bytes.data() + 12);
    if (width == 0 || height == 0 || width > largestSide || height > largestSide)
        return {};
    if (bytes.size() - headerSize != qsizetype(width) * qsizetype(height) * 4)
        return {};
    return QSize(int(width), int(height));
}

bool isOpaque(const QImage &premultiplied)
{
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return false;
        }
    }
    return true;
}

void expandedRelease(void *expanded)
{
    delete static_cast<QByteArray *>(expanded);
}

} // namespace

QByteArray encode(const QImage &image)
{
    // Opaque pixels are the same words in either format.
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes;
    bytes.reserve(headerSize + qsizetype(pixels.width()) * pixels.height() * 4);
    bytes.append(magic);
    bytes.append(isOpaque(pixels) ? opaque : withAlpha);
    appendWord(bytes, quint32(pixels.width()));
    appendWord(bytes, quint32(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            appendWord(bytes, line[x]);
    }
    return bytes;
}

QImage decode(QByteArrayView bytes, QImageCleanupFunction release, void *releaseInfo)
{
    const QSize size = pictureSize(bytes);
    const auto *pixels = reinterpret_cast<const uchar *>(bytes.data()) + headerSize;
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const bool inPlace = QSysInfo::ByteOrder == QSysInfo::LittleEndian &&
                         reinterpret_cast<quintptr>(pixels) % alignof(QRgb) == 0;
    if (!size.isEmpty() && inPlace) {
        return QImage(pixels, size.width(), size.height(), bytesPerLine, pictureFormat(bytes),
                      release, releaseInfo);
    }

    QImage copy;
    if (!size.isEmpty()) {
        copy = QImage(size, pictureFormat(bytes));
        for (int y = 0; y < size.height(); ++y) {
            const uchar *source = pixels + y * bytesPerLine;
            auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qFromLittleEndian<quint32>(source + 4 * x);
        }
    }
    if (release)
        release(releaseInfo);
    return copy;
}

QImage fromResource(const QString &path)
{
    const QResource resource(path);
    if (!resource.isValid())
        return {};
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return decode(QByteArrayView(resource.data(), resource.size()));
    auto *expanded = new QByteArray(resource.uncompressedData());
    return decode(*expanded, expandedRelease, expanded);
}

} // namespace rawimage
