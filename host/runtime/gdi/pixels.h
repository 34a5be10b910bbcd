#pragma once

#include <cstdint>

#include <cairo.h>

#include "gdi/types.h"

namespace svgdi {

struct Dc;

// RGB24 pixels hold 0x00RRGGBB; COLORREF is 0x00BBGGRR.
inline std::uint32_t toPixel(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}
inline COLORREF toColor(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Direct access to a surface's pixels for what cairo cannot draw exactly (single-pixel lines,
// inversions, raster operations); writes are cut to the clip, in device pixels.
class PixelAccess {
public:
    PixelAccess(cairo_surface_t* surface, RECT clip);
    explicit PixelAccess(const Dc& dc);
    ~PixelAccess();
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;

    const RECT& clip() const { return clip_; }
    bool inside(int x, int y) const {
        return x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom;
    }
    // Unchecked: the caller keeps to the surface.
    std::uint32_t& at(int x, int y) {
        return reinterpret_cast<std::uint32_t*>(data_ +
                                                static_cast<std::ptrdiff_t>(y) * stride_)[x];
    }
    void set(int x, int y, COLORREF color) {
        if (inside(x, y))
            at(x, y) = toPixel(color);
    }
    void invert(int x, int y) {
        if (inside(x, y))
            at(x, y) ^= 0x00FFFFFF;
    }
    void fill(RECT area, COLORREF color);

private:
    cairo_surface_t* surface_;
    unsigned char* data_;
    int stride_;
    RECT clip_;
};

} // namespace svgdi
