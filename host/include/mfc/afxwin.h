#pragma once

// Everything of the class library a module's dialog code uses.
#include "mfc/afx.h"
#include "mfc/commctrl.h"
#include "mfc/controls.h"
#include "mfc/cstring.h"
#include "mfc/dc.h"
#include "mfc/dialog.h"
#include "mfc/gdiobj.h"
#include "mfc/geometry.h"
#include "mfc/menu.h"
#include "mfc/msgmap.h"
#include "mfc/wnd.h"
