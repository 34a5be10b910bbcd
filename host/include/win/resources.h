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
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_HTML MAKEINTRESOURCEW(23)

// Menu item flags as a menu template carries them.
#define MF_GRAYED 0x0001
#define MF_DISABLED 0x0002
#define MF_BITMAP 0x0004
#define MF_CHECKED 0x0008
#define MF_POPUP 0x0010
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK 0x0040
#define MF_END 0x0080
#define MF_SEPARATOR 0x0800
#define MF_HELP 0x4000

// ---------------------------------------------------------------------------------------------
// The table svrc generates into a module. A module carries one, reached through its exported
// SvResources(). Names are either a string (name) or an ordinal (name null, id).

#define SV_RESOURCE_TABLE_VERSION 1

struct SvResString {
    UINT id;
    const wchar_t* text; // terminated; length excludes the terminator
    int length;
};

// One control of a dialog template. Dialog units throughout.
struct SvResDialogItem {
    const wchar_t* windowClass; // "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX", "SCROLLBAR"
                                // or the class a CONTROL statement names
    const wchar_t* text;        // null when the title is a resource ordinal
    WORD textOrdinal;
    LONG id; // -1 for IDC_STATIC
    DWORD style;
    DWORD exStyle;
    DWORD helpId;
    short x, y, cx, cy;
};

struct SvResDialog {
    BOOL extended; // DIALOGEX
    DWORD style;
    DWORD exStyle;
    DWORD helpId;
    short x, y, cx, cy;
    const wchar_t* caption; // empty when the template has none
    const wchar_t* menu;    // null when none or an ordinal
    WORD menuOrdinal;
    const wchar_t* windowClass; // null for the default dialog class
    WORD fontPointSize;         // 0 when the template sets no font
    WORD fontWeight;
    BYTE fontItalic;
    BYTE fontCharset;
    const wchar_t* fontFace;
    const SvResDialogItem* items;
    DWORD itemCount;
};

// Menu items in template order; a POPUP's items follow it one level deeper, and the last item
// of each level carries MF_END.
struct SvResMenuItem {
    const wchar_t* text; // empty for a separator
    UINT id;             // 0 for popups and separators
    UINT flags;
    UINT depth;
};

struct SvResMenu {
    const SvResMenuItem* items;
    DWORD itemCount;
};

// Every resource for FindResourceW. data is, by type: RT_STRING a block of 16 counted strings
// (wchar_t count, then the characters); RT_VERSION the version block GetFileVersionInfoW hands
// out; RT_BITMAP the bitmap file without its 14-byte file header; RT_DIALOG an SvResDialog;
// RT_MENU an SvResMenu; anything else the bytes as written.
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

// Typed views of templates, null when missing, for the dialog and menu layers.
const SvResDialog* svLoadDialog(HMODULE module, LPCWSTR name);
const SvResMenu* svLoadMenu(HMODULE module, LPCWSTR name);

// The text of string id in one module; false when it has none (an empty string counts as none).
bool svFindString(HMODULE module, UINT id, const wchar_t** text, int* length);

#pragma GCC visibility pop
