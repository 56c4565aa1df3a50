#include "ui/controls/pictures.h"

#include <QPainter>

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
        m_cache = prerendered(pixels);
        if (m_cache.size() != pixels)
            m_cache = renderVector(pixels, ratio);
        m_cache.setDevicePixelRatio(ratio);
    }
    return m_cache;
}

QPixmap StretchedPicture::prerendered(QSize pixels) const
{
    QString name = m_resource;
    name.replace(QStringLiteral(".svg"),
                 QStringLiteral("-%1x%2.png").arg(pixels.width()).arg(pixels.height()));
    return QPixmap(name, "PNG");
}

QPixmap StretchedPicture::renderVector(QSize pixels, qreal ratio)
{
    if (!m_renderer) {
        m_renderer = std::make_unique<QSvgRenderer>(m_resource);
        m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
    }
    QPixmap picture(pixels);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    m_renderer->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels) / ratio));
    return picture;
}

void StretchedPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered());
}

BitmapPicture::BitmapPicture(QWidget *parent, const QString &resource)
    : QWidget(parent)
    , m_pixmap(resource)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void BitmapPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, m_pixmap);
}
