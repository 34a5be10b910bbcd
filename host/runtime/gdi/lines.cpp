#include "gdi/draw.h"

#include "gdi/object_table.h"
#include "gdi/pen_stroke.h"

using namespace svgdi;

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    return exchangePoint(handle, &DcState::position, {x, y}, previous);
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
    return readPoint(handle, &DcState::position, position);
}

BOOL LineTo(HDC handle, int x, int y) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return FALSE;
    const POINT& from = dc->state.position;
    strokeLine(*dc, dc->toDevice(from.x, from.y), dc->toDevice(x, y));
    dc->state.position = {x, y};
    return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || points == nullptr || count < 2)
        return FALSE;
    for (int i = 1; i < count; ++i)
        strokeLine(*dc, dc->toDevice(points[i - 1].x, points[i - 1].y),
                   dc->toDevice(points[i].x, points[i].y));
    return TRUE;
}
