#pragma once

// Everything the window manager offers.
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/menu.h"
#include "user/messages.h"
#include "user/metrics.h"
#include "user/msgbox.h"
#include "user/paint.h"
#include "user/screen.h"
#include "user/types.h"
#include "user/window.h"
