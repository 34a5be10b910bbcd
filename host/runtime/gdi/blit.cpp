#include <algorithm>
#include <optional>
#include <vector>

#include "gdi/draw.h"
#include "gdi/object_table.h"
#include "gdi/pixels.h"

using namespace svgdi;

namespace {

using RasterOperation = std::uint32_t (*)(std::uint32_t source, std::uint32_t destination);

struct Raster {
    RasterOperation apply;
    bool needsSource;
};

std::optional<Raster> rasterOperation(DWORD rop) {
    switch (rop) {
    case SRCCOPY:
        return Raster{[](std::uint32_t s, std::uint32_t) { return s; }, true};
    case SRCPAINT:
        return Raster{[](std::uint32_t s, std::uint32_t d) { return s | d; }, true};
    case SRCAND:
        return Raster{[](std::uint32_t s, std::uint32_t d) { return s & d; }, true};
    case SRCINVERT:
        return Raster{[](std::uint32_t s, std::uint32_t d) { return s ^ d; }, true};
    case DSTINVERT:
        return Raster{[](std::uint32_t, std::uint32_t d) { return ~d; }, false};
    case BLACKNESS:
        return Raster{[](std::uint32_t, std::uint32_t) { return std::uint32_t{0}; }, false};
    case WHITENESS:
        return Raster{[](std::uint32_t, std::uint32_t) { return std::uint32_t{0xFFFFFF}; }, false};
    default:
        return std::nullopt;
    }
}

struct SourceBlock {
    const Dc* dc; // null when the operation reads no source
    POINT origin; // device pixels
    int width;
    int height;
};

// Combines a width x height block at `to` (device pixels) with the source block scaled to it
// (nearest pixel), over the part the destination's clip lets through. The source is read first,
// so a DC may copy onto itself; pixels whose source lies outside its surface are left alone.
// combine(source, destination) answers the new pixel or nothing to leave it.
template <class Combine>
void transfer(const Dc& target, POINT to, int width, int height, const SourceBlock& source,
              Combine combine) {
    PixelAccess pixels(target);
    const RECT& clip = pixels.clip();
    const auto left = static_cast<LONG>(std::max<long long>(clip.left, to.x));
    const auto top = static_cast<LONG>(std::max<long long>(clip.top, to.y));
    const auto right = static_cast<LONG>(std::min<long long>(clip.right, 0LL + to.x + width));
    const auto bottom = static_cast<LONG>(std::min<long long>(clip.bottom, 0LL + to.y + height));
    if (right <= left || bottom <= top)
        return;
    const int columns = right - left;
    std::vector<std::optional<std::uint32_t>> read(static_cast<std::size_t>(columns) *
                                                   (bottom - top));
    if (source.dc != nullptr) {
        cairo_surface_t* surface = source.dc->target();
        PixelAccess from(surface, {0, 0, cairo_image_surface_get_width(surface),
                                   cairo_image_surface_get_height(surface)});
        for (LONG y = top; y < bottom; ++y) {
            const auto sy =
                static_cast<int>(source.origin.y + (0LL + y - to.y) * source.height / height);
            for (LONG x = left; x < right; ++x) {
                const auto sx =
                    static_cast<int>(source.origin.x + (0LL + x - to.x) * source.width / width);
                if (from.inside(sx, sy))
                    read[static_cast<std::size_t>(y - top) * columns + (x - left)] =
                        from.at(sx, sy) & 0x00FFFFFF;
            }
        }
    }
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x) {
            const auto& sourcePixel =
                read[static_cast<std::size_t>(y - top) * columns + (x - left)];
            if (source.dc != nullptr && !sourcePixel)
                continue;
            const std::optional<std::uint32_t> result =
                combine(sourcePixel.value_or(0), pixels.at(x, y) & 0x00FFFFFF);
            if (result)
                pixels.at(x, y) = *result & 0x00FFFFFF;
        }
    }
}

} // namespace

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
    const Dc* target = findDc(destination);
    const std::optional<Raster> raster = rasterOperation(rop);
    if (target == nullptr || width < 0 || height < 0 || !raster)
        return FALSE;
    const Dc* from = raster->needsSource ? findDc(source) : nullptr;
    if (raster->needsSource && from == nullptr)
        return FALSE;
    if (width == 0 || height == 0)
        return TRUE;
    const POINT origin = from == nullptr ? POINT{0, 0} : from->toDevice(sourceX, sourceY);
    transfer(*target, target->toDevice(x, y), width, height, {from, origin, width, height},
             [apply = raster->apply](std::uint32_t s, std::uint32_t d) {
                 return std::optional<std::uint32_t>(apply(s, d));
             });
    return TRUE;
}

BOOL TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, UINT transparent) {
    const Dc* target = findDc(destination);
    const Dc* from = findDc(source);
    if (target == nullptr || from == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 ||
        sourceHeight <= 0)
        return FALSE;
    const POINT origin = from->toDevice(sourceX, sourceY);
    cairo_surface_t* surface = from->target();
    if (origin.x < 0 || origin.y < 0 ||
        0LL + origin.x + sourceWidth > cairo_image_surface_get_width(surface) ||
        0LL + origin.y + sourceHeight > cairo_image_surface_get_height(surface))
        return FALSE;
    const std::uint32_t key = toPixel(transparent);
    transfer(*target, target->toDevice(x, y), width, height,
             {from, origin, sourceWidth, sourceHeight}, [key](std::uint32_t s, std::uint32_t) {
                 return s == key ? std::nullopt : std::optional<std::uint32_t>(s);
             });
    return TRUE;
}
