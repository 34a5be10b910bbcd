#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

using WCHAR = wchar_t;
using ULONG_PTR = std::uintptr_t;

// Colours are 0x00BBGGRR.
using COLORREF = DWORD;
#define RGB(r, g, b)                                                                               \
    (static_cast<COLORREF>(static_cast<BYTE>(r) |                                                  \
                           (static_cast<DWORD>(static_cast<BYTE>(g)) << 8) |                       \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(rgb) (static_cast<BYTE>(rgb))
#define GetGValue(rgb) (static_cast<BYTE>(static_cast<DWORD>(rgb) >> 8))
#define GetBValue(rgb) (static_cast<BYTE>(static_cast<DWORD>(rgb) >> 16))
#define CLR_INVALID 0xFFFFFFFF

struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct SIZE {
    LONG cx;
    LONG cy;
};
using LPSIZE = SIZE*;

// Right and bottom lie outside the rectangle.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

// Handles of painting objects. A handle is a key into the painting layer's table, never a
// pointer to follow: a deleted or made-up handle is refused, not dereferenced.
struct HDC__;
using HDC = HDC__*;
struct HPEN__;
using HPEN = HPEN__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HFONT__;
using HFONT = HFONT__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
using HGDIOBJ = void*;

// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero;
// -1 when the denominator is 0 or the result leaves the int range.
int MulDiv(int number, int numerator, int denominator);

#pragma GCC visibility pop
