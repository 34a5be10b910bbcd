#pragma once

#include "acad/status.h"
#include "low/low.h"
