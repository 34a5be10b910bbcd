#include <algorithm>

#include "gdi/draw.h"
#include "gdi/object_table.h"
#include "gdi/pixels.h"
#include "gdi/rect.h"
#include "gdi/syscolors.h"

using namespace svgdi;

namespace {

struct Ring {
    int topLeft; // system colour indices
    int bottomRight;
};

// The outer ring is drawn first, the inner one a pixel inside it.
Ring ringOf(bool outer, UINT edge, UINT flags) {
    if (flags & BF_MONO)
        return outer ? Ring{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME}
                     : Ring{COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT)
        return outer ? Ring{COLOR_BTNSHADOW, COLOR_BTNSHADOW} : Ring{COLOR_BTNFACE, COLOR_BTNFACE};
    // Soft edges swap the top-left colours of the two rings.
    const bool firstShade = outer != ((flags & BF_SOFT) != 0);
    if (edge & (outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER))
        return {firstShade ? COLOR_3DLIGHT : COLOR_3DHILIGHT,
                outer ? COLOR_3DDKSHADOW : COLOR_3DSHADOW};
    return {firstShade ? COLOR_3DSHADOW : COLOR_3DDKSHADOW,
            outer ? COLOR_3DHILIGHT : COLOR_3DLIGHT};
}

// One pixel ring on the sides the flags name; the bottom-right colour takes the corners it
// shares with the top-left one. The rectangle shrinks by the sides drawn.
void drawRing(PixelAccess& pixels, RECT& box, Ring ring, UINT flags) {
    if (IsRectEmpty(&box))
        return;
    const COLORREF topLeft = GetSysColor(ring.topLeft);
    const COLORREF bottomRight = GetSysColor(ring.bottomRight);
    const LONG right = box.right - ((flags & BF_RIGHT) ? 1 : 0);
    const LONG bottom = box.bottom - ((flags & BF_BOTTOM) ? 1 : 0);
    if (flags & BF_TOP)
        pixels.fill({box.left, box.top, right, box.top + 1}, topLeft);
    if (flags & BF_LEFT)
        pixels.fill({box.left, box.top, box.left + 1, bottom}, topLeft);
    if (flags & BF_BOTTOM)
        pixels.fill({box.left, box.bottom - 1, box.right, box.bottom}, bottomRight);
    if (flags & BF_RIGHT)
        pixels.fill({box.right - 1, box.top, box.right, box.bottom}, bottomRight);
    box = {box.left + ((flags & BF_LEFT) ? 1 : 0), box.top + ((flags & BF_TOP) ? 1 : 0), right,
           bottom};
}

RECT deviceRect(const Dc& dc, const RECT& rect) {
    const POINT topLeft = dc.toDevice(rect.left, rect.top);
    return {topLeft.x, topLeft.y, topLeft.x + (rect.right - rect.left),
            topLeft.y + (rect.bottom - rect.top)};
}

// The tick of a check box, 7 pixels square: columns of 3 falling then rising.
void drawCheckMark(const Dc& dc, const RECT& inside, COLORREF color) {
    RECT clip = dc.effectiveClip();
    IntersectRect(&clip, &clip, &inside);
    PixelAccess pixels(dc.target(), clip);
    constexpr int size = 7;
    constexpr int columnTops[size] = {2, 3, 4, 3, 2, 1, 0};
    const LONG left = inside.left + (inside.right - inside.left - size) / 2;
    const LONG top = inside.top + (inside.bottom - inside.top - size) / 2;
    for (int column = 0; column < size; ++column) {
        const LONG y = top + columnTops[column];
        pixels.fill({left + column, y, left + column + 1, y + 3}, color);
    }
}

BOOL drawCheckBox(const Dc& dc, const RECT& rect, UINT state) {
    const LONG side = std::min(rect.right - rect.left, rect.bottom - rect.top);
    if (side <= 0)
        return TRUE;
    const LONG left = rect.left + (rect.right - rect.left - side) / 2;
    const LONG top = rect.top + (rect.bottom - rect.top - side) / 2;
    RECT box = deviceRect(dc, {left, top, left + side, top + side});
    const UINT flags =
        BF_RECT | ((state & DFCS_MONO) ? BF_MONO : 0) | ((state & DFCS_FLAT) ? BF_FLAT : 0);
    PixelAccess pixels(dc);
    drawRing(pixels, box, ringOf(true, EDGE_SUNKEN, flags), flags);
    drawRing(pixels, box, ringOf(false, EDGE_SUNKEN, flags), flags);
    const bool face = state & (DFCS_PUSHED | DFCS_INACTIVE);
    pixels.fill(box, GetSysColor(face ? COLOR_BTNFACE : COLOR_WINDOW));
    if (state & DFCS_CHECKED)
        drawCheckMark(dc, box,
                      GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    return TRUE;
}

} // namespace

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || rect == nullptr || (flags & BF_DIAGONAL) != 0)
        return FALSE;
    RECT box = deviceRect(*dc, *rect);
    const RECT before = box;
    PixelAccess pixels(*dc);
    if (edge & BDR_OUTER)
        drawRing(pixels, box, ringOf(true, edge, flags), flags);
    if (edge & BDR_INNER)
        drawRing(pixels, box, ringOf(false, edge, flags), flags);
    if (flags & BF_MIDDLE)
        pixels.fill(box, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST) {
        rect->left += box.left - before.left;
        rect->top += box.top - before.top;
        rect->right += box.right - before.right;
        rect->bottom += box.bottom - before.bottom;
    }
    return TRUE;
}

BOOL DrawFrameControl(HDC handle, LPRECT rect, UINT type, UINT state) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || rect == nullptr || type != DFC_BUTTON)
        return FALSE;
    switch (state & 0xFF) {
    case DFCS_BUTTONPUSH: {
        const bool sunken = state & (DFCS_PUSHED | DFCS_CHECKED | DFCS_FLAT);
        const UINT flags = BF_RECT | BF_MIDDLE | ((state & DFCS_MONO) ? BF_MONO : BF_SOFT) |
                           ((state & DFCS_FLAT) ? BF_FLAT : 0) |
                           ((state & DFCS_ADJUSTRECT) ? BF_ADJUST : 0);
        return DrawEdge(handle, rect, sunken ? EDGE_SUNKEN : EDGE_RAISED, flags);
    }
    case DFCS_BUTTONCHECK:
        return drawCheckBox(*dc, *rect, state);
    default:
        return FALSE;
    }
}
