#pragma once

#include "gdi/types.h"

#pragma GCC visibility push(default)

// A pixel surface for the window manager: opaque colour pixels, black when created. Windows
// paint into it through DCs made by svCreateSurfaceDC, and it can be written out as a PNG at any
// time. A DC keeps painting safely into its surface's pixels after svDestroySurface.
struct SvSurface;

// Null for a size outside 1..32767.
SvSurface* svCreateSurface(int width, int height);
void svDestroySurface(SvSurface* surface);
int svSurfaceWidth(const SvSurface* surface);
int svSurfaceHeight(const SvSurface* surface);
// CLR_INVALID outside the surface.
COLORREF svSurfacePixel(const SvSurface* surface, int x, int y);
// The pixels for a display to copy: rows top to bottom, `stride` bytes apart, each pixel a
// native-endian 32-bit 0x00RRGGBB. Valid until the surface is painted on or destroyed; null for
// a null surface.
const unsigned char* svSurfaceRows(const SvSurface* surface, int* stride);
// path in UTF-8; false when the file cannot be written.
bool svWriteSurfacePng(const SvSurface* surface, const char* path);
// A one-page PDF document whose page is the surface's pixels, 96 to the inch.
bool svWriteSurfacePdf(const SvSurface* surface, const char* path);

// A DC over the surface whose logical (0, 0) is the surface pixel origin and which paints only
// inside clip (surface pixels, cut to the surface). The window manager hands it to a window
// procedure (GetDC, BeginPaint) and releases it with DeleteDC. Null for a null surface.
HDC svCreateSurfaceDC(SvSurface* surface, POINT origin, RECT clip);

#pragma GCC visibility pop
