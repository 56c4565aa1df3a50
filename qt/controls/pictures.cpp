#include "qt/controls/pictures.h"

#include "assets/rawimage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QImageReader>
#include <QPainter>

namespace {

// A bitmap is an image to assistive technology, named and described by its
// accessible name and description (the map: its title and the names of its
// areas). Qt's accessibility bus on Linux carries no image description; the
// description is the object's own.
QAccessibleInterface *accessibleBitmap(const QString &, QObject *object)
{
    auto *picture = dynamic_cast<BitmapPicture *>(object);
    return picture ? new QAccessibleWidget(picture, QAccessible::Graphic) : nullptr;
}

} // namespace

StretchedPicture::StretchedPicture(QWidget *parent, const QString &resource)
    : QWidget(parent)
    , m_resource(resource)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QPixmap StretchedPicture::rendered()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) {
        QImage picture = prerendered(pixels);
        if (picture.size() != pixels)
            picture = renderVector(pixels);
        // Set on the image, where it changes no pixels: on the pixmap it would
        // copy pixels the image only borrows (the resource's own, or the copy
        // expanded from it).
        picture.setDevicePixelRatio(ratio);
        m_cache = QPixmap::fromImage(std::move(picture));
    }
    return m_cache;
}

QImage StretchedPicture::prerendered(QSize pixels) const
{
    QString name = m_resource;
    name.replace(QStringLiteral(".svg"),
                 QStringLiteral("-%1x%2.argb").arg(pixels.width()).arg(pixels.height()));
    return rawimage::fromResource(name);
}

QImage StretchedPicture::renderVector(QSize pixels) const
{
    // Asked for a size, the SVG plugin draws the whole drawing into it,
    // transparent where the drawing is not.
    QImageReader reader(m_resource, "svg");
    reader.setScaledSize(pixels);
    return reader.read();
}

void StretchedPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered());
}

BitmapPicture::BitmapPicture(QWidget *parent, const QString &resource)
    : QWidget(parent)
    , m_pixmap(QPixmap::fromImage(rawimage::fromResource(resource)))
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleBitmap);
        return true;
    }();
    Q_UNUSED(installed)
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void BitmapPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, m_pixmap);
}

QString pictureResource(DesignPicture picture)
{
    switch (picture) {
    case DesignPicture::Yacht:
        return QStringLiteral(":/galevane/drawing/yacht.svg");
    case DesignPicture::AreasMap:
        return QStringLiteral(":/galevane/map/areas.argb");
    case DesignPicture::None:
        break;
    }
    return {};
}
