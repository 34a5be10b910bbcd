#pragma once

#include "win/export.h"

// Tests and later parts of the application reach the service class from outside the module.
#ifdef SENTAVELLUI17_BUILD
#define SENTAVELLUI17_API DLLEXPORT
#else
#define SENTAVELLUI17_API DLLIMPORT
#endif
