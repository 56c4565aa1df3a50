#pragma once

// Layouts are designed in twips, 1/1440 inch. Every conversion to pixels
// happens here: at 96 dots per inch 15 twips make one pixel, and a front end
// that scales with the screen passes the screen's dots per inch.
inline constexpr int twipsPerInch = 1440;
inline constexpr int designDotsPerInch = 96;
inline constexpr int twipsPerPixel = twipsPerInch / designDotsPerInch;

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

// A rectangle in pixels, left and top edge with the extent.
struct PixelRect
{
    int left;
    int top;
    int width;
    int height;

    friend constexpr bool operator==(const PixelRect &, const PixelRect &) = default;
};

struct PixelSize
{
    int width;
    int height;

    friend constexpr bool operator==(const PixelSize &, const PixelSize &) = default;
};

// Rounds to the nearest pixel at `dpi` dots per inch, halves away from zero.
[[nodiscard]] constexpr int twipsToPixels(int twips, int dpi = designDotsPerInch)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = twipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / twipsPerInch
                                        : -((-scaled + half) / twipsPerInch));
}

// Converts the edges, not the extent, so that neighbouring controls that
// touch in twips also touch in pixels.
[[nodiscard]] constexpr PixelRect twipsToPixels(const TwipRect &rect, int dpi = designDotsPerInch)
{
    const int left = twipsToPixels(rect.left, dpi);
    const int top = twipsToPixels(rect.top, dpi);
    const int right = twipsToPixels(rect.left + rect.width, dpi);
    const int bottom = twipsToPixels(rect.top + rect.height, dpi);
    return {left, top, right - left, bottom - top};
}

[[nodiscard]] constexpr PixelSize twipsToPixels(const TwipSize &size, int dpi = designDotsPerInch)
{
    return {twipsToPixels(size.width, dpi), twipsToPixels(size.height, dpi)};
}

// Points (1/72 inch) to whole pixels at `dpi` dots per inch.
[[nodiscard]] constexpr int pointsToPixels(double points, int dpi = designDotsPerInch)
{
    return static_cast<int>(points * dpi / 72.0 + 0.5);
}

static_assert(twipsToPixels(6585) == 439 && twipsToPixels(7695) == 513);
static_assert(twipsToPixels(6585, 192) == 878);
