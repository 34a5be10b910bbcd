#pragma once

#include <cstddef>
#include <vector>

#include "win/bitmap_resource.h"

// Decodes a packed DIB (info header, colour table, rows). With an AND mask the header's height
// counts the colour rows and the mask rows together, as in cursor and icon images; mask then
// receives one byte a pixel, top-down, 1 where the mask bit is set. A failure may leave bitmap
// and mask half filled; callers read through svReadWhole.
SvResStatus svDecodeDib(const void* data, std::size_t size, std::vector<BYTE>* mask,
                        SvBitmap& bitmap);
