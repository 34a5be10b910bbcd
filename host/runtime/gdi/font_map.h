#pragma once

#include <pango/pango.h>

#include "gdi/objects.h"

namespace svgdi {

// The one pango context every font measures and paints through: fontconfig's fonts at 96 dots
// an inch, hinted metrics, grey antialiasing.
PangoContext* textContext();

// The installed family that stands in for the font's face.
const char* installedFamily(const LOGFONTW& font);

} // namespace svgdi
