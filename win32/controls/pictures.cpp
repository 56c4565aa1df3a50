#include "win32/controls/pictures.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <stdexcept>
#include <utility>

namespace {

constexpr std::size_t packedHeaderSize = 16;
// RT_RCDATA, whose macro casts the C way.
constexpr int rawDataType = 10;
const wchar_t *const rawData = winapi::resourceId(rawDataType);

std::uint32_t readLittleEndian(const unsigned char *bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::span<const unsigned char> resourceBytes(HINSTANCE instance, int id, const wchar_t *type)
{
    const HRSRC found = FindResourceW(instance, winapi::resourceId(id), type);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const unsigned char *>(data), SizeofResource(instance, found)};
}

} // namespace

AlphaPicture::AlphaPicture(int width, int height)
    : m_width(width)
    , m_height(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    if (!m_bitmap || !m_bits)
        throw std::runtime_error("cannot make a picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels");
}

namespace {

// The size a packed picture declares, if its header is sound.
std::optional<PixelSize> packedSize(std::span<const unsigned char> bytes)
{
    if (bytes.size() < packedHeaderSize || std::memcmp(bytes.data(), "GRLE", 4) != 0)
        return std::nullopt;
    const auto width = static_cast<int>(readLittleEndian(bytes.data() + 4));
    const auto height = static_cast<int>(readLittleEndian(bytes.data() + 8));
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return std::nullopt;
    return PixelSize{width, height};
}

} // namespace

std::optional<PixelSize> AlphaPicture::sizeOfResource(HINSTANCE instance, int id)
{
    return packedSize(resourceBytes(instance, id, rawData));
}

std::optional<AlphaPicture> AlphaPicture::fromResource(HINSTANCE instance, int id)
{
    const std::span<const unsigned char> bytes = resourceBytes(instance, id, rawData);
    const std::optional<PixelSize> size = packedSize(bytes);
    if (!size)
        return std::nullopt;
    const int width = size->width;
    const int height = size->height;
    AlphaPicture picture(width, height);
    std::uint32_t *out = picture.pixels();
    const std::size_t total = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::size_t done = 0;
    std::size_t at = packedHeaderSize;
    while (done < total && at < bytes.size()) {
        const unsigned control = bytes[at++];
        const bool repeated = control >= 128;
        const std::size_t count = repeated ? control - 126 : control + 1;
        const std::size_t stored = repeated ? 1 : count;
        if (at + 4 * stored > bytes.size() || done + count > total)
            return std::nullopt;
        for (std::size_t i = 0; i < count; ++i)
            out[done + i] = readLittleEndian(bytes.data() + at + 4 * (repeated ? 0 : i));
        at += 4 * stored;
        done += count;
    }
    if (done != total)
        return std::nullopt;
    return picture;
}

AlphaPicture AlphaPicture::resized(int width, int height) const
{
    AlphaPicture result(width, height);
    const double stepX = static_cast<double>(m_width) / width;
    const double stepY = static_cast<double>(m_height) / height;
    const std::uint32_t *source = pixels();
    std::uint32_t *target = result.pixels();
    for (int y = 0; y < height; ++y) {
        const double top = y * stepY;
        const double bottom = top + stepY;
        for (int x = 0; x < width; ++x) {
            const double left = x * stepX;
            const double right = left + stepX;
            double sum[4] = {0, 0, 0, 0};
            double area = 0;
            for (int sy = static_cast<int>(top);
                 sy < std::min(m_height, static_cast<int>(bottom) + 1); ++sy) {
                const double cover =
                    std::min(bottom, sy + 1.0) - std::max(top, static_cast<double>(sy));
                if (cover <= 0)
                    continue;
                for (int sx = static_cast<int>(left);
                     sx < std::min(m_width, static_cast<int>(right) + 1); ++sx) {
                    const double weight = cover * (std::min(right, sx + 1.0) -
                                                   std::max(left, static_cast<double>(sx)));
                    if (weight <= 0)
                        continue;
                    const std::uint32_t p = source[sy * m_width + sx];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += weight * ((p >> (8 * c)) & 0xffu);
                    area += weight;
                }
            }
            std::uint32_t value = 0;
            for (int c = 0; c < 4; ++c) {
                const auto channel =
                    static_cast<std::uint32_t>(std::clamp(sum[c] / area + 0.5, 0.0, 255.0));
                value |= channel << (8 * c);
            }
            target[y * width + x] = value;
        }
    }
    return result;
}

void AlphaPicture::draw(HDC dc, int left, int top) const
{
    const MemoryDc source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), m_bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, left, top, m_width, m_height, source.get(), 0, 0, m_width, m_height, blend);
}

StretchedPicture::StretchedPicture(HINSTANCE instance, std::vector<int> renderings)
    : m_instance(instance)
    , m_renderings(std::move(renderings))
{}

void StretchedPicture::draw(HDC dc, const PixelRect &rect)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    if (!m_shown || m_shown->width() != rect.width || m_shown->height() != rect.height) {
        m_shown.reset();
        // The rendering made for this size where there is one; else the
        // smallest one larger than it, which averaging down keeps crisp
        // (120 dots per inch from the 144 one); else the largest, enlarged.
        // Chosen by the sizes their headers declare, so that only the chosen
        // one is unpacked.
        std::optional<std::pair<int, PixelSize>> nearest;
        const auto covers = [&rect](PixelSize p) {
            return p.width >= rect.width && p.height >= rect.height;
        };
        const auto better = [&covers](PixelSize candidate, PixelSize best) {
            if (covers(candidate) != covers(best))
                return covers(candidate);
            return covers(candidate) ? candidate.width < best.width : candidate.width > best.width;
        };
        for (int id : m_renderings) {
            const std::optional<PixelSize> size = AlphaPicture::sizeOfResource(m_instance, id);
            if (size && (!nearest || better(*size, nearest->second)))
                nearest.emplace(id, *size);
        }
        std::optional<AlphaPicture> unpacked =
            nearest ? AlphaPicture::fromResource(m_instance, nearest->first) : std::nullopt;
        if (!unpacked)
            return;
        if (unpacked->width() == rect.width && unpacked->height() == rect.height)
            m_shown = std::move(unpacked);
        else
            m_shown = unpacked->resized(rect.width, rect.height);
    }
    m_shown->draw(dc, rect.left, rect.top);
}

BitmapPicture::BitmapPicture(HINSTANCE instance, int id)
{
    m_bitmap.reset(static_cast<HBITMAP>(
        LoadImageW(instance, winapi::resourceId(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (m_bitmap && GetObjectW(m_bitmap.get(), sizeof(info), &info)) {
        m_width = info.bmWidth;
        m_height = info.bmHeight;
    }
}

void BitmapPicture::draw(HDC dc, int left, int top, UINT dpi) const
{
    if (!m_bitmap)
        return;
    const int scale = dpi >= 2 * USER_DEFAULT_SCREEN_DPI ? 2 : 1;
    const MemoryDc source(CreateCompatibleDC(dc));
    const Selection selected(source.get(), m_bitmap.get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, left, top, m_width * scale, m_height * scale, source.get(), 0, 0, m_width,
               m_height, SRCCOPY);
}
