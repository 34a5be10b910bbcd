#pragma once

#include "mfc/wnd.h"

#pragma GCC visibility push(default)

// The host's main window, the parent of the modules' dialogs and message boxes.
CWnd* acedGetAcadFrame();

#pragma GCC visibility pop
