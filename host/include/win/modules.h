#pragma once

#include <vector>

#include "win/export.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Loads a library, or takes one more reference to it when it is loaded already. Backslashes in the
// path are separators. A bare file name is searched beside the host, then in the working folder.
// The library's DllMain is called with DLL_PROCESS_ATTACH on first load; a FALSE answer unloads it
// again and the call fails.
HMODULE LoadLibraryW(LPCWSTR fileName);
// Drops one reference; the last one calls DllMain with DLL_PROCESS_DETACH and unloads.
BOOL FreeLibrary(HMODULE module);
// By name, or by ordinal (MAKEINTRESOURCEA). For the host program (GetModuleHandleW(nullptr)) the
// answer comes from its named export table.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// Null names the host program; otherwise a loaded library by path or by file name.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
// Copies at most size - 1 characters and a terminator; answers the characters copied (size when
// the path was cut), or 0 for an unknown module.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// The modules loaded now, in the order they were loaded (the host program not among them).
std::vector<HMODULE> svLoadedModules();
// Why the last LoadLibraryW failed, for messages; empty after a success.
LPCWSTR svLastLoadError();

#pragma GCC visibility pop

// A module exports a function under an ordinal with this, at namespace scope of one source file.
#define SV_EXPORT_ORDINAL(ordinal, function)                                                       \
    extern "C" DLLEXPORT const FARPROC SvOrdinalExport_##ordinal =                                 \
        reinterpret_cast<FARPROC>(&function)
