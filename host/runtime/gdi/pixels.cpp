#include "gdi/pixels.h"

#include <algorithm>

#include "gdi/object_table.h"

namespace svgdi {

PixelAccess::PixelAccess(cairo_surface_t* surface, RECT clip) : surface_(surface) {
    cairo_surface_flush(surface_);
    data_ = cairo_image_surface_get_data(surface_);
    stride_ = cairo_image_surface_get_stride(surface_);
    clip_ = {std::max<LONG>(clip.left, 0), std::max<LONG>(clip.top, 0),
             std::min<LONG>(clip.right, cairo_image_surface_get_width(surface_)),
             std::min<LONG>(clip.bottom, cairo_image_surface_get_height(surface_))};
}

PixelAccess::PixelAccess(const Dc& dc) : PixelAccess(dc.target(), dc.effectiveClip()) {}

PixelAccess::~PixelAccess() {
    cairo_surface_mark_dirty(surface_);
}

void PixelAccess::fill(RECT area, COLORREF color) {
    const std::uint32_t pixel = toPixel(color);
    const LONG right = std::min(area.right, clip_.right);
    const LONG bottom = std::min(area.bottom, clip_.bottom);
    for (LONG y = std::max(area.top, clip_.top); y < bottom; ++y) {
        for (LONG x = std::max(area.left, clip_.left); x < right; ++x)
            at(x, y) = pixel;
    }
}

} // namespace svgdi
