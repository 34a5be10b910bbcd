#include "paint_surface.h"

#include <cwchar>

LOGFONTW fontNamed(const wchar_t* face, LONG height) {
    LOGFONTW font = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfHeight = height;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

PaintSurface::PaintSurface(int width, int height)
    : surface_(svCreateSurface(width, height)),
      dc_(svCreateSurfaceDC(surface_, {0, 0}, {0, 0, width, height})) {
    const RECT all = {0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

PaintSurface::~PaintSurface() {
    DeleteDC(dc_);
    svDestroySurface(surface_);
}

std::string PaintSurface::picture(RECT area, COLORREF ink) const {
    std::string rows;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            rows += pixel(x, y) == ink ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

int PaintSurface::painted(RECT area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += pixel(x, y) != RGB(255, 255, 255) ? 1 : 0;
    }
    return count;
}

std::pair<int, int> PaintSurface::paintedColumns(RECT area) const {
    int first = area.right;
    int last = area.left - 1;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pixel(x, y) != RGB(255, 255, 255)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return last < first ? std::pair{0, 0} : std::pair{first, last + 1};
}
