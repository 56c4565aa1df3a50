#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

// A vector drawing stretched to fill the control, aspect ratio not kept. It
// is parsed once and rendered once per size and device pixel ratio, so it
// stays crisp on any screen and paints from a cached pixmap.
class StretchedPicture final : public QWidget
{
public:
    StretchedPicture(QWidget *parent, const QString &resource);
    Q_DISABLE_COPY_MOVE(StretchedPicture)

    [[nodiscard]] bool isValid() const { return m_renderer.isValid(); }
    [[nodiscard]] QSize naturalSize() const { return m_renderer.defaultSize(); }
    // The picture as drawn at the current size and device pixel ratio.
    [[nodiscard]] QPixmap rendered();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
    QPixmap m_cache;
};

// A bitmap shown at its own size, top-left aligned, never smoothed: on a
// screen with a whole device pixel ratio every pixel becomes a square block.
class BitmapPicture final : public QWidget
{
public:
    BitmapPicture(QWidget *parent, const QString &resource);
    Q_DISABLE_COPY_MOVE(BitmapPicture)

    [[nodiscard]] const QPixmap &pixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixmap;
};
