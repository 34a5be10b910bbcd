#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "gdi/types.h"

namespace sv::comctl {

// A bitmap resource (the bitmap file after its file header) as top-down pixels.
struct DecodedBitmap {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels; // row by row from the top
};

// Reads uncompressed bitmaps of 1, 4, 8, 24 or 32 bits a pixel (32 also with bit-field masks);
// nullopt for anything else, a truncated block, or a side beyond 32767 pixels.
std::optional<DecodedBitmap> decodeDib(const void* data, std::size_t size);

} // namespace sv::comctl
