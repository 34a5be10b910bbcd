#include "gdi/dc.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "gdi/object_table.h"
#include "gdi/rect.h"

using namespace svgdi;

namespace {

// A memory DC clips only to its bitmap.
constexpr RECT unclipped = {0, 0, 32767, 32767};

template <class T>
HGDIOBJ swapIn(Held<T>& slot, T* object) {
    HGDIOBJ previous = slot.get() == nullptr ? nullptr : slot->handle;
    slot = Held<T>(object);
    return previous;
}

HGDIOBJ selectBitmap(Dc& dc, Bitmap* bitmap) {
    if (dc.type != OBJ_MEMDC)
        return nullptr;
    if (!bitmap->stock && bitmap->selectedInto != nullptr &&
        bitmap->selectedInto != static_cast<HDC>(dc.handle))
        return nullptr;
    HGDIOBJ previous = swapIn(dc.state.bitmap, bitmap);
    if (!bitmap->stock)
        bitmap->selectedInto = static_cast<HDC>(dc.handle);
    return previous;
}

int regionKind(const RECT& clip) {
    return IsRectEmpty(&clip) ? NULLREGION : SIMPLEREGION;
}

} // namespace

HDC CreateCompatibleDC(HDC model) {
    if (model != nullptr && findDc(model) == nullptr)
        return nullptr;
    auto dc = std::make_unique<Dc>(OBJ_MEMDC, nullptr, POINT{0, 0}, unclipped);
    dc->state.bitmap = Held<Bitmap>(defaultBitmap());
    return static_cast<HDC>(add(std::move(dc)));
}

BOOL DeleteDC(HDC dc) {
    if (findDc(dc) == nullptr)
        return FALSE;
    remove(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return nullptr;
    if (Pen* pen = findPen(object))
        return swapIn(dc->state.pen, pen);
    if (Brush* brush = findBrush(object))
        return swapIn(dc->state.brush, brush);
    if (Font* font = findFont(object))
        return swapIn(dc->state.font, font);
    if (Bitmap* bitmap = findBitmap(object))
        return selectBitmap(*dc, bitmap);
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return dc->state.pen->handle;
    case OBJ_BRUSH:
        return dc->state.brush->handle;
    case OBJ_FONT:
        return dc->state.font->handle;
    case OBJ_BITMAP:
        return dc->state.bitmap.get() == nullptr ? nullptr : dc->state.bitmap->handle;
    default:
        return nullptr;
    }
}

int SaveDC(HDC handle) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int saved) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return FALSE;
    const int depth = static_cast<int>(dc->saved.size());
    const int level = saved < 0 ? depth + saved + 1 : saved;
    if (saved == 0 || level < 1 || level > depth)
        return FALSE;
    dc->state = dc->saved[level - 1];
    dc->saved.resize(level - 1);
    return TRUE;
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
    return exchangeState(handle, &DcState::textColor, color, CLR_INVALID);
}

COLORREF GetTextColor(HDC handle) {
    return readState(handle, &DcState::textColor, CLR_INVALID);
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
    return exchangeState(handle, &DcState::bkColor, color, CLR_INVALID);
}

COLORREF GetBkColor(HDC handle) {
    return readState(handle, &DcState::bkColor, CLR_INVALID);
}

int SetBkMode(HDC handle, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return exchangeState(handle, &DcState::bkMode, mode, 0);
}

int GetBkMode(HDC handle) {
    return readState(handle, &DcState::bkMode, 0);
}

BOOL SetViewportOrgEx(HDC handle, int x, int y, LPPOINT previous) {
    return exchangePoint(handle, &DcState::viewport, {x, y}, previous);
}

BOOL OffsetViewportOrgEx(HDC handle, int dx, int dy, LPPOINT previous) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr)
        return FALSE;
    return SetViewportOrgEx(handle, dc->state.viewport.x + dx, dc->state.viewport.y + dy, previous);
}

BOOL GetViewportOrgEx(HDC handle, LPPOINT origin) {
    return readPoint(handle, &DcState::viewport, origin);
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return ERROR;
    const POINT topLeft = dc->toDevice(left, top);
    const POINT bottomRight = dc->toDevice(right, bottom);
    const RECT wanted = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    const RECT current = dc->state.clip;
    IntersectRect(&dc->state.clip, &current, &wanted);
    return regionKind(dc->effectiveClip());
}

int GetClipBox(HDC handle, LPRECT rect) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || rect == nullptr)
        return ERROR;
    RECT clip = dc->effectiveClip();
    if (IsRectEmpty(&clip)) {
        SetRectEmpty(rect);
        return NULLREGION;
    }
    const POINT origin = dc->toDevice(0, 0);
    OffsetRect(&clip, -origin.x, -origin.y);
    *rect = clip;
    return SIMPLEREGION;
}

int GetDeviceCaps(HDC handle, int index) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr)
        return 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case HORZRES:
        return cairo_image_surface_get_width(dc->target());
    case VERTRES:
        return cairo_image_surface_get_height(dc->target());
    default:
        return 0;
    }
}
