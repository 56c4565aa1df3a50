#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// Pictures compiled in as raw pixels, so that showing one needs no image
// decoder: the pixels are used where they lie in the resource data.
//
// A raw picture (".argb" file) is a 16-byte header followed by the pixels:
//
//   offset  size  contents
//        0     4  "RPIX"
//        4     4  "ARGB": with alpha, premultiplied (Format_ARGB32_Premultiplied)
//                 "XRGB": opaque, alpha always 255 (Format_RGB32)
//        8     4  width in pixels, unsigned, little-endian
//       12     4  height in pixels, unsigned, little-endian
//       16  w*h*4 the rows top to bottom, each pixel left to right as a
//                 little-endian 32-bit 0xAARRGGBB (bytes blue, green, red,
//                 alpha)
//
// That is the QImage format as it lies in memory on a little-endian machine,
// where the pixels are shown without being copied; a big-endian machine reads
// them into an image of its own byte order.
namespace rawimage {

inline constexpr QByteArrayView magic("RPIX");
inline constexpr QByteArrayView withAlpha("ARGB");
inline constexpr QByteArrayView opaque("XRGB");
inline constexpr qsizetype headerSize = 16;

// The raw form of `image`: opaque if every pixel is, as QPixmap::fromImage
// would make it, and with premultiplied alpha otherwise.
[[nodiscard]] QByteArray encode(const QImage &image);

// The picture held by `bytes`, or a null image if they are not a raw picture.
// The image uses the bytes themselves where it can (little-endian machine,
// pixels 4-byte aligned), so they must outlive every copy of it; `release`,
// if given, is called with `releaseInfo` once they are no longer used, which
// is at once if the pixels had to be copied (or the bytes were refused).
[[nodiscard]] QImage decode(QByteArrayView bytes, QImageCleanupFunction release = nullptr,
                            void *releaseInfo = nullptr);

// The raw picture compiled in as the resource `path`, or a null image. An
// uncompressed resource is used in place; a compressed one is expanded once
// and freed with the last copy of the image.
[[nodiscard]] QImage fromResource(const QString &path);

} // namespace rawimage
