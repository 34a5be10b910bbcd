#pragma once

#include "options.h"

// --version: the host's version, then each module the options load (and the modules they load
// in turn) with the file version of its version resource. Answers the exit status.
int printVersions(const HostOptions& options);
