#pragma once

#include "core/design/formlayout.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A vector drawing stretched to fill the control, aspect ratio not kept. It
// is drawn once per size and device pixel ratio, so it stays crisp on any
// screen and paints from a cached pixmap. Where a rendering of the drawing at
// exactly the needed pixel size is compiled in beside it as raw pixels
// ("name-WxH.argb" for "name.svg", see rawimage.h), that is shown as it is;
// any other size is drawn from the SVG by Qt's SVG image plugin, loaded only
// then.
class StretchedPicture final : public QWidget
{
public:
    StretchedPicture(QWidget *parent, const QString &resource);
    Q_DISABLE_COPY_MOVE(StretchedPicture)

    // The picture as drawn at the current size and device pixel ratio.
    [[nodiscard]] QPixmap rendered();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    [[nodiscard]] QImage prerendered(QSize pixels) const;
    [[nodiscard]] QImage renderVector(QSize pixels) const;

    QString m_resource;
    QPixmap m_cache;
};

// A bitmap compiled in as raw pixels (rawimage.h), shown at its own size,
// top-left aligned, never smoothed: on a screen with a whole device pixel
// ratio every pixel becomes a square block.
class BitmapPicture final : public QWidget
{
public:
    BitmapPicture(QWidget *parent, const QString &resource);
    Q_DISABLE_COPY_MOVE(BitmapPicture)

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixmap;
};

// Where the Qt front end keeps a picture of the design: the SVG of a
// drawing (beside its raw renderings), the raw pixels of a bitmap.
[[nodiscard]] QString pictureResource(DesignPicture picture);
