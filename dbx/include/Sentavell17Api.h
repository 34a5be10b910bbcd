#pragma once

#include "win/export.h"

// The module's classes are used by the application module, which links against them.
#ifdef SENTAVELL17_BUILD
#define SENTAVELL17_API DLLEXPORT
#else
#define SENTAVELL17_API DLLIMPORT
#endif
