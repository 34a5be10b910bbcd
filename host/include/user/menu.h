#pragma once

#include "user/types.h"
#include "win/menu_template.h"

#pragma GCC visibility push(default)

// Item flags beyond those a menu template carries (win/menu_template.h).
#define MF_STRING 0x0000
#define MF_ENABLED 0x0000
#define MF_UNCHECKED 0x0000
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
#define MF_OWNERDRAW 0x0100
#define MF_DEFAULT 0x1000
#define MF_HILITE 0x0080

// TrackPopupMenu flags.
#define TPM_LEFTBUTTON 0x0000
#define TPM_RIGHTBUTTON 0x0002
#define TPM_LEFTALIGN 0x0000
#define TPM_CENTERALIGN 0x0004
#define TPM_RIGHTALIGN 0x0008
#define TPM_TOPALIGN 0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN 0x0020
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100
#define TPM_RECURSE 0x0001

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// A module's menu resource, through the resource layer's parsed form; null when missing.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
// A menu template in the platform's binary layout, WORD-aligned; null when it is damaged.
HMENU LoadMenuIndirectW(const void* menuTemplate);
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus; the handle is dead afterwards.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, item is the submenu's handle, which the menu then owns.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
// The command id at a position; -1 for a popup, 0 for a separator or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);
// By command (searching submenus) or by position. Answers the previous state, or -1 when the
// item does not exist.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// MF_* state bits; for a popup the item count in the high byte; -1 when missing.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int size, UINT flags);

// Shows the popup at a screen point and runs its modal loop through the screen. Choosing an
// enabled item ends it: with TPM_RETURNCMD the answer is the item's id and nothing is sent;
// otherwise the owner gets WM_COMMAND with the id (posted, so it arrives after the call) and the
// answer is TRUE. Choosing a disabled or greyed item does nothing; Esc, or a click outside the
// menu, dismisses it and answers 0. The menu window answers MN_GETHMENU with the menu.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    LPCRECT ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Where an item of an open popup lies on the screen; the menu window is the one the screen was
// told of (window may be null for the innermost open popup).
BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect);
// The class of popup menu windows.
#define WC_POPUPMENU MAKEINTRESOURCEW(0x8000)

#pragma GCC visibility pop
