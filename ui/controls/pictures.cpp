#include "pictures.h"

#include <QPainter>

StretchedPicture::StretchedPicture(QWidget *parent, const QString &resource)
    : QWidget(parent)
    , m_renderer(resource)
{
    m_renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QPixmap StretchedPicture::rendered()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) {
        m_cache = QPixmap(pixels);
        m_cache.setDevicePixelRatio(ratio);
        m_cache.fill(Qt::transparent);
        QPainter painter(&m_cache);
        m_renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size())));
    }
    return m_cache;
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
