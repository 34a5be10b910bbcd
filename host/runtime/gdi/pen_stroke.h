#pragma once

#include "gdi/object_table.h"

namespace svgdi {

// A line in the DC's pen between device points, the end point left out. A thin pen sets
// whole pixels along the line (dashing, with the gaps in the background colour when the DC is
// opaque); a wide one strokes with round ends.
void strokeLine(const Dc& dc, POINT from, POINT to);

} // namespace svgdi
