#pragma once

#include "options.h"

int runSession(const HostOptions& options);
