#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

// The host program's named export table: what GetProcAddress(GetModuleHandleW(nullptr), name)
// finds. The runtime enters its own functions; tests withdraw entries to play an older host.
void svHostExportAdd(const char* name, FARPROC proc);
// Answers the entry that was withdrawn, or null.
FARPROC svHostExportRemove(const char* name);

#pragma GCC visibility pop
