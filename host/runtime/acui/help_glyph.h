#pragma once

#include <array>

#include "gdi/types.h"

// The question mark of help buttons, as 32-bit pixels (blue, green, red, unused) for
// CreateBitmap. Its top-left pixel is the transparent colour, as for any button bitmap.
constexpr int kHelpGlyphSize = 16;
const std::array<DWORD, kHelpGlyphSize * kHelpGlyphSize>& helpGlyphPixels();
