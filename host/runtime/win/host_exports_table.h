#pragma once

#include "win/types.h"

FARPROC svHostExportFind(const char* name);

// Enters a runtime function in the host program's export table at load, from a static object:
//   static const SvHostExport exportAcedMenuCmd("acedMenuCmd",
//   reinterpret_cast<FARPROC>(&acedMenuCmd));
struct SvHostExport {
    SvHostExport(const char* name, FARPROC proc);
};
