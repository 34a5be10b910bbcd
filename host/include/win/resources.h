#pragma once

#include "win/export.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Resource types, as ordinals in the low word of a name pointer.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_HTML MAKEINTRESOURCEW(23)

// ---------------------------------------------------------------------------------------------
// The table svrc generates into a module. A module carries one, reached through its exported
// SvResources(). Names are either a string (name) or an ordinal (name null, id).

#define SV_RESOURCE_TABLE_VERSION 2

struct SvResString {
    UINT id;
    const wchar_t* text; // terminated; length excludes the terminator
    int length;
};

// Every resource for FindResourceW. data is, by type: RT_STRING a block of 16 counted strings
// (wchar_t count, then the characters); RT_VERSION the version block GetFileVersionInfoW hands
// out; anything else the platform's own binary form, DWORD-aligned: RT_DIALOG a DLGTEMPLATEEX or
// DLGTEMPLATE, RT_MENU a menu template, RT_BITMAP the bitmap file without its 14-byte file
// header, RT_CURSOR a hotspot and a DIB, RT_GROUP_CURSOR the directory of a cursor's images;
// other types the bytes as written. Readers for these live in win/dialog_template.h,
// win/menu_template.h, win/bitmap_resource.h and win/cursor_resource.h.
struct SvResEntry {
    const wchar_t* typeName;
    WORD typeId;
    const wchar_t* name;
    WORD id;
    const void* data;
    DWORD size;
};

struct SvResourceTable {
    DWORD version; // SV_RESOURCE_TABLE_VERSION
    const SvResEntry* entries;
    DWORD entryCount;
    const SvResString* strings; // sorted by id
    DWORD stringCount;
};

using SvResourcesProc = const SvResourceTable* (*)();

// The table of a loaded module, null when it has none. A null module means the host program.
const SvResourceTable* svResourceTable(HMODULE module);

// ---------------------------------------------------------------------------------------------
// Win32 resource functions.

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;

// Names and types are strings (compared without case; "#123" means ordinal 123) or ordinals.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
// The resources live in the module's image; there is nothing to free.
inline BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

// Copies at most size - 1 characters and a terminator and answers the characters copied; 0 and
// an empty buffer when the id is missing. With size 0 the buffer receives a read-only pointer to
// the text itself (as LPCWSTR*), and the answer is its length.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);

// The text of string id in one module; false when it has none (an empty string counts as none).
bool svFindString(HMODULE module, UINT id, const wchar_t** text, int* length);

#pragma GCC visibility pop
