#pragma once

#include "comctl/notify.h"

#pragma GCC visibility push(default)

#define TOOLTIPS_CLASSW L"tooltips_class32"

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_NOANIMATE 0x10
#define TTS_NOFADE 0x20
#define TTS_BALLOON 0x40

// A tool is a rectangle of a window (hwnd, uId) or, with TTF_IDISHWND, the whole window uId.
#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100

// lpszText is a text (copied, at most 1023 characters kept), or a string id of hinst through
// MAKEINTRESOURCEW.
struct TOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect; // client coordinates of hwnd
    HINSTANCE hinst;
    LPWSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
using LPTOOLINFOW = TOOLINFOW*;
#define TTTOOLINFOW_V1_SIZE (offsetof(TOOLINFOW, lParam))

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_POP (WM_USER + 28)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_NEWTOOLRECTW (WM_USER + 52)
#define TTM_GETTOOLINFOW (WM_USER + 53)
#define TTM_SETTOOLINFOW (WM_USER + 54)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)

// A tip shows once the pointer has rested on a tool for the initial delay (500 ms unless set)
// and hides after the autopop delay, when the pointer leaves the tool, or on a button press.
// TTM_RELAYEVENT takes the MSG of a mouse message of a tool's window (lParam). TTM_GETTEXTW
// fills lpszText of the TOOLINFOW with at most wParam characters (80 when 0).
#define TTN_FIRST (0U - 520U)
#define TTN_SHOW (TTN_FIRST - 1)
#define TTN_POP (TTN_FIRST - 2)

#pragma GCC visibility pop
