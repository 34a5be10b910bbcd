#pragma once

#include <cstddef>
#include <vector>

#include "win/resource_status.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Neither side of a decoded image may pass this, nor its area SV_BITMAP_MAX_PIXELS.
#define SV_BITMAP_MAX_SIDE 16384
#define SV_BITMAP_MAX_PIXELS (16 * 1024 * 1024)

// A device-independent bitmap decoded to 32-bit pixels.
struct SvBitmap {
    LONG width = 0;
    LONG height = 0;            // rows, whichever way the data stored them
    WORD bitCount = 0;          // as stored: 1, 4, 8, 16, 24 or 32
    std::vector<DWORD> palette; // the colour table as stored (0x00RRGGBB), empty above 8 bits
    std::vector<BYTE> pixels;   // height rows top-down, width pixels of B, G, R, A each
    bool alpha = false;         // 32-bit data that carries its own alpha; otherwise A is 255
};

// Decodes an RT_BITMAP resource: a BITMAPINFOHEADER (or its V4/V5 successors), the colour
// table, then the rows, uncompressed (BI_RGB, or BI_BITFIELDS at 16 and 32 bits) at 1, 4, 8, 16,
// 24 or 32 bits a pixel. On failure bitmap is left empty.
SvResStatus svDecodeBitmapResource(const void* data, std::size_t size, SvBitmap& bitmap);

// The RT_BITMAP resource name of module, decoded as above.
SvResStatus svLoadBitmapResource(HMODULE module, LPCWSTR name, SvBitmap& bitmap);

#pragma GCC visibility pop
