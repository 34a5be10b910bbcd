#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gdi/object_table.h"

namespace svgdi {

struct TextLine {
    std::wstring text;
    std::vector<std::size_t> marked; // characters underlined as mnemonics
};

enum class LineParts { All, TextOnly, MarksOnly };

// Paints a line in the DC's font and text colour with (x, y), logical, the top left of its box;
// with the DC opaque the box is filled with the background colour first. The font's underline
// and strikeout and the marks are whole-pixel rows. clip (logical) limits the painting when
// given.
void paintLine(const Dc& dc, int x, int y, const TextLine& line, const RECT* clip, LineParts parts);

// The DC's font resolved.
const FontFace& faceOf(const Dc& dc);

} // namespace svgdi
