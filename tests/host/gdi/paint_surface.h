#pragma once

#include <string>

#include "gdi/gdi.h"
#include "gdi/surface.h"

// The interface font with another face and height.
LOGFONTW fontNamed(const wchar_t* face, LONG height);

// A white surface and a DC over all of it, for tests that paint and read pixels back.
class PaintSurface {
public:
    PaintSurface(int width, int height);
    ~PaintSurface();
    PaintSurface(const PaintSurface&) = delete;
    PaintSurface& operator=(const PaintSurface&) = delete;

    HDC dc() const { return dc_; }
    SvSurface* surface() const { return surface_; }
    COLORREF pixel(int x, int y) const { return svSurfacePixel(surface_, x, y); }

    // The area as rows of '#' (the colour) and '.' (anything else), each row ended by '\n'.
    std::string picture(RECT area, COLORREF ink) const;
    // How many pixels of the area are not white.
    int painted(RECT area) const;
    // The columns holding a pixel that is not white, as [first, last + 1); {0, 0} for none.
    std::pair<int, int> paintedColumns(RECT area) const;

private:
    SvSurface* surface_;
    HDC dc_;
};
