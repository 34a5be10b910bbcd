#include <algorithm>
#include <utility>

#include "gdi/draw.h"
#include "gdi/object_table.h"
#include "gdi/pen_stroke.h"
#include "gdi/pixels.h"

using namespace svgdi;

namespace {

RECT toDevice(const Dc& dc, const RECT& rect) {
    const POINT topLeft = dc.toDevice(rect.left, rect.top);
    const POINT bottomRight = dc.toDevice(rect.right, rect.bottom);
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

RECT ordered(int left, int top, int right, int bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return {left, top, right, bottom};
}

} // namespace

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr)
        return FALSE;
    RECT box = toDevice(*dc, ordered(left, top, right, bottom));
    const Pen& pen = *dc->state.pen.get();
    const bool outlined = pen.log.lopnStyle != PS_NULL;
    COLORREF fill = 0;
    if (brushColor(static_cast<HBRUSH>(dc->state.brush->handle), &fill)) {
        const int inset = outlined ? 1 : 0;
        PixelAccess(*dc).fill({box.left + inset, box.top + inset, box.right - 1, box.bottom - 1},
                              fill);
    }
    if (pen.log.lopnStyle == PS_INSIDEFRAME && pen.log.lopnWidth.x > 1) {
        const LONG half = pen.log.lopnWidth.x / 2;
        box = {box.left + half, box.top + half, box.right - half, box.bottom - half};
    }
    if (!outlined || box.right <= box.left || box.bottom <= box.top)
        return TRUE;
    const LONG r = box.right - 1;
    const LONG b = box.bottom - 1;
    const POINT corners[] = {{box.left, box.top}, {r, box.top}, {r, b}, {box.left, b}};
    for (int i = 0; i < 4; ++i)
        strokeLine(*dc, corners[i], corners[(i + 1) % 4]);
    return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
    const Dc* dc = findDc(handle);
    COLORREF color = 0;
    if (dc == nullptr || rect == nullptr || !brushColor(brush, &color))
        return 0;
    PixelAccess(*dc).fill(toDevice(*dc, *rect), color);
    return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
    const Dc* dc = findDc(handle);
    COLORREF color = 0;
    if (dc == nullptr || rect == nullptr || !brushColor(brush, &color))
        return 0;
    const RECT box = toDevice(*dc, *rect);
    if (box.right <= box.left || box.bottom <= box.top)
        return 1;
    PixelAccess pixels(*dc);
    pixels.fill({box.left, box.top, box.right, box.top + 1}, color);
    pixels.fill({box.left, box.bottom - 1, box.right, box.bottom}, color);
    pixels.fill({box.left, box.top, box.left + 1, box.bottom}, color);
    pixels.fill({box.right - 1, box.top, box.right, box.bottom}, color);
    return 1;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || rect == nullptr)
        return FALSE;
    const RECT box = toDevice(*dc, *rect);
    if (box.right <= box.left || box.bottom <= box.top)
        return TRUE;
    PixelAccess pixels(*dc);
    // Every outline pixel once, so that a second call undoes the first.
    const auto dot = [&](LONG x, LONG y) {
        if ((x - box.left + y - box.top) % 2 == 0)
            pixels.invert(x, y);
    };
    const LONG r = box.right - 1;
    const LONG b = box.bottom - 1;
    for (LONG x = box.left; x <= r; ++x) {
        dot(x, box.top);
        if (b > box.top)
            dot(x, b);
    }
    for (LONG y = box.top + 1; y < b; ++y) {
        dot(box.left, y);
        if (r > box.left)
            dot(r, y);
    }
    return TRUE;
}

namespace {

// Uses the pixel at a logical point inside the clip; CLR_INVALID elsewhere.
template <class Use>
COLORREF atPixel(HDC handle, int x, int y, Use use) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr)
        return CLR_INVALID;
    PixelAccess pixels(*dc);
    const POINT device = dc->toDevice(x, y);
    if (!pixels.inside(device.x, device.y))
        return CLR_INVALID;
    return use(pixels.at(device.x, device.y));
}

} // namespace

COLORREF GetPixel(HDC handle, int x, int y) {
    return atPixel(handle, x, y, [](std::uint32_t& pixel) { return toColor(pixel & 0x00FFFFFF); });
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    return atPixel(handle, x, y, [color](std::uint32_t& pixel) {
        pixel = toPixel(color);
        return color & 0x00FFFFFF;
    });
}
