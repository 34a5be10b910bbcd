#pragma once

#include "gdi/types.h"

#pragma GCC visibility push(default)

// Device contexts. A DC paints into a pixel surface (a window's, see gdi/surface.h, or the
// bitmap selected into a memory DC) through its origin and clip rectangle. A new DC holds
// BLACK_PEN, WHITE_BRUSH and SYSTEM_FONT, black text on a white, opaque background.

// A memory DC holding a 1x1 bitmap until one is selected. The model DC may be null.
HDC CreateCompatibleDC(HDC model);
// Deselects its objects (they may then be deleted). FALSE for a dead handle.
BOOL DeleteDC(HDC dc);

// Selects a pen, brush, font or bitmap (bitmaps into memory DCs only, and into one DC at a
// time) and answers the one it replaces; null on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// The selected object of a type (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP); null otherwise.
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// Saves the selected objects, colours, modes, position, viewport and clip; answers the new
// depth, 0 on failure. RestoreDC takes a depth, or a negative count back from the top.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);

#define TRANSPARENT 1
#define OPAQUE 2

// Each answers the previous value: CLR_INVALID or 0 for a dead handle.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
// TRANSPARENT or OPAQUE; 0 for a dead handle or another mode.
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// Logical coordinates map to the device by the viewport origin alone (MM_TEXT).
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

// The clip is one rectangle; each answers the kind of region left, ERROR for a dead handle.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
// The clip in logical coordinates.
int GetClipBox(HDC dc, LPRECT rect);

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// 96 dots an inch, 32 bits a pixel, the surface's size; 0 for anything else.
int GetDeviceCaps(HDC dc, int index);

#pragma GCC visibility pop
