#pragma once

#include "gdi/types.h"

#pragma GCC visibility push(default)

// Text in the selected font and the text colour; with OPAQUE the text's box is first filled
// with the background colour. Text is measured exactly as it is painted. Counts are in
// characters; a negative count fails, but DrawTextW takes -1 for a terminated string.

#define TMPF_FIXED_PITCH 0x01 // set for a variable pitch font
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using LPTEXTMETRICW = TEXTMETRICW*;

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
// The width of the text and the font's height.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);

// (x, y) is the top left of the text's box.
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// ETO_OPAQUE fills rect with the background colour, ETO_CLIPPED clips the text to it. Glyph
// advances are the font's: FALSE when dx is given.
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#define DT_HIDEPREFIX 0x00100000
#define DT_PREFIXONLY 0x00200000

// Text in a rectangle: lines break at line feeds (and with DT_WORDBREAK at the rectangle's
// width) unless DT_SINGLELINE; DT_VCENTER and DT_BOTTOM place a single line. '&' underlines the
// next character and "&&" is one '&' unless DT_NOPREFIX; DT_HIDEPREFIX leaves the underline out,
// DT_PREFIXONLY draws only it. DT_END_ELLIPSIS ends a line too wide with an ellipsis. DT_CALCRECT
// paints nothing and sets the rectangle's right and bottom to the text's. Answers the text's
// height (with DT_VCENTER or DT_BOTTOM the offset from the top to the bottom of the text), 0 on
// failure.
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);

#pragma GCC visibility pop
