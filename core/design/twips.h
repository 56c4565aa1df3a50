#pragma once

#include <QRect>
#include <QSize>

// Layouts are designed in twips, 1/1440 inch. Every conversion to Qt's
// logical pixels happens here, at 96 logical dots per inch; Qt applies the
// screen's device pixel ratio on top.
inline constexpr int twipsPerPixel = 15;

struct TwipSize
{
    int width;
    int height;
};

struct TwipRect
{
    int left;
    int top;
    int width;
    int height;
};

// Rounds to the nearest pixel, halves away from zero.
[[nodiscard]] constexpr int twipsToPixels(int twips)
{
    return twips >= 0 ? (twips + twipsPerPixel / 2) / twipsPerPixel
                      : -((-twips + twipsPerPixel / 2) / twipsPerPixel);
}

// Converts the edges, not the extent, so that neighbouring controls that
// touch in twips also touch in pixels.
[[nodiscard]] constexpr QRect twipsToPixels(const TwipRect &rect)
{
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    const int right = twipsToPixels(rect.left + rect.width);
    const int bottom = twipsToPixels(rect.top + rect.height);
    return QRect(left, top, right - left, bottom - top);
}

[[nodiscard]] constexpr QSize twipsToPixels(const TwipSize &size)
{
    return QSize(twipsToPixels(size.width), twipsToPixels(size.height));
}

// Points (1/72 inch) to whole logical pixels at 96 dots per inch.
[[nodiscard]] constexpr int pointsToPixels(double points)
{
    return int(points * 96.0 / 72.0 + 0.5);
}
