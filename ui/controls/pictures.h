#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

#include <memory>

// A vector drawing stretched to fill the control, aspect ratio not kept. It
// is drawn once per size and device pixel ratio, so it stays crisp on any
// screen and paints from a cached pixmap. Where a rendering of the drawing at
// exactly the needed pixel size is compiled in beside it ("name-WxH.png" for
// "name.svg"), that is used instead, and the SVG is never parsed.
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
    [[nodiscard]] QPixmap prerendered(QSize pixels) const;
    [[nodiscard]] QPixmap renderVector(QSize pixels, qreal ratio);

    QString m_resource;
    std::unique_ptr<QSvgRenderer> m_renderer; // parsed on first need
    QPixmap m_cache;
};

// A bitmap shown at its own size, top-left aligned, never smoothed: on a
// screen with a whole device pixel ratio every pixel becomes a square block.
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
