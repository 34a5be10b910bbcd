#pragma once

// Everything of the painting layer a window procedure uses.
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/rect.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"
#include "gdi/types.h"
