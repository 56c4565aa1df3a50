#pragma once

#include "core/design/twips.h"
#include "win32/support/handles.h"

#include <cstdint>
#include <optional>
#include <vector>

// A picture with premultiplied alpha in a 32-bit DIB section, drawn with
// AlphaBlend over what lies behind it.
class AlphaPicture
{
public:
    // A picture packed by tools/win32/yachtpictures.py, compiled in as RCDATA.
    [[nodiscard]] static std::optional<AlphaPicture> fromResource(HINSTANCE instance, int id);
    // The size such a picture declares, read without unpacking it.
    [[nodiscard]] static std::optional<PixelSize> sizeOfResource(HINSTANCE instance, int id);
    // Resampled to `width` x `height`, each target pixel the area-weighted
    // mean of the source pixels it covers.
    [[nodiscard]] AlphaPicture resized(int width, int height) const;

    void draw(HDC dc, int left, int top) const;
    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }

private:
    AlphaPicture(int width, int height);
    [[nodiscard]] std::uint32_t *pixels() const { return static_cast<std::uint32_t *>(m_bits); }

    int m_width = 0;
    int m_height = 0;
    void *m_bits = nullptr;
    GdiObject<HBITMAP> m_bitmap;
};

// The main window's drawing, stretched to its rectangle: the rendering made
// for that very size where there is one (96, 144 and 192 dots per inch),
// else the next larger one averaged down once and kept.
class StretchedPicture
{
public:
    // `renderings`: the resource numbers of the packed renderings.
    StretchedPicture(HINSTANCE instance, std::vector<int> renderings);
    void draw(HDC dc, const PixelRect &rect);

private:
    HINSTANCE m_instance;
    std::vector<int> m_renderings;
    std::optional<AlphaPicture> m_shown;
};

// A bitmap at its own pixels, doubled (whole pixels only) on screens of 192
// dots per inch and more.
class BitmapPicture
{
public:
    BitmapPicture(HINSTANCE instance, int id);
    void draw(HDC dc, int left, int top, UINT dpi) const;

private:
    GdiObject<HBITMAP> m_bitmap;
    int m_width = 0;
    int m_height = 0;
};
