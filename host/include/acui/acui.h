#pragma once

// Everything of the host's dialog framework.
#include "acui/bitmapbutton.h"
#include "acui/dialog.h"
#include "rx/dynlinker.h"
