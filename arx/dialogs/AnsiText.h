#pragma once

#include "mfc/cstring.h"

// Narrow text of the thread's ANSI code page as wide text; empty for null.
CString widenAnsi(const char* text);
