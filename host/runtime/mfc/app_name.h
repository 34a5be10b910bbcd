#pragma once

#include "mfc/cstring.h"

// The host program's file name without folder and extension: the caption of the library's
// message boxes.
CString afxAppName();
