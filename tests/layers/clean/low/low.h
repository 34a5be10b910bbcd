#pragma once

#include "acad/status.h"
