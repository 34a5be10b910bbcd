#pragma once

#include "mfc/handle_map.h"
#include "mfc/wnd.h"

// The CWnd of every window handle the library knows.
HandleMap<HWND, CWnd>& windowMap();
