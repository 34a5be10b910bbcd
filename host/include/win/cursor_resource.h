#pragma once

#include <cstddef>
#include <vector>

#include "win/resource_status.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// One image a cursor group offers; id names its RT_CURSOR resource.
struct SvCursorGroupEntry {
    WORD width = 0;
    WORD height = 0; // the image's own height (the directory stores it doubled)
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD bytesInRes = 0;
    WORD id = 0;
};

// A cursor image decoded to 32-bit pixels.
struct SvCursorImage {
    WORD hotspotX = 0;
    WORD hotspotY = 0;
    LONG width = 0;
    LONG height = 0;
    std::vector<BYTE> pixels; // height rows top-down of B, G, R, A; A is 0 where the screen shows
    std::vector<BYTE> mask;   // one byte a pixel, 1 where the AND mask keeps the screen: shown
                              // through under a black pixel, inverted under any other colour
};

// Reads an RT_GROUP_CURSOR resource (NEWHEADER with type 2, then its directory entries).
SvResStatus svParseCursorGroup(const void* data, std::size_t size,
                               std::vector<SvCursorGroupEntry>& entries);

// Decodes an RT_CURSOR resource: the hotspot, then the image as a DIB whose header counts the
// colour rows and the AND mask's rows together.
SvResStatus svDecodeCursorResource(const void* data, std::size_t size, SvCursorImage& cursor);

// The cursor group name of module: the image nearest 32 pixels wide with the most colours.
SvResStatus svLoadCursorResource(HMODULE module, LPCWSTR name, SvCursorImage& cursor);

#pragma GCC visibility pop
