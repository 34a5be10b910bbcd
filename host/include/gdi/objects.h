#pragma once

#include "gdi/types.h"

#pragma GCC visibility push(default)

// ---------------------------------------------------------------------------------------------
// Pens. A pen of width 0 or 1 is one pixel wide whatever the mapping; the styles other than
// solid and null dash only such thin pens.

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth; // x holds the width
    COLORREF lopnColor;
};

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);

// ---------------------------------------------------------------------------------------------
// Brushes.

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

HBRUSH CreateSolidBrush(COLORREF color);
// Solid and null brushes only; null for any other style.
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

// ---------------------------------------------------------------------------------------------
// Fonts. A face is mapped to an installed one: the dialog and interface faces ("MS Shell Dlg",
// "Tahoma", "Segoe UI", "Arial", ...) and unknown ones to the sans face, fixed-pitch faces to
// the monospaced one. lfHeight < 0 is the character height in pixels, > 0 the cell height
// (ascent plus descent), 0 the default height. lfWidth, lfEscapement and lfOrientation are kept
// but not applied.

#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define OEM_CHARSET 255

#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONTW = LOGFONTW*;

HFONT CreateFontIndirectW(const LOGFONTW* font);

// ---------------------------------------------------------------------------------------------
// Bitmaps: 32 bits a pixel, top-down rows. Colour bitmaps only; CreateCompatibleBitmap answers
// a colour bitmap even for a memory DC.

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

// planes 1 and 32 bits a pixel; bits (may be null: black) holds height rows of width pixels,
// each pixel blue, green, red, unused. Null for any other format or a size outside
// 1..32767.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A black bitmap; null for a dead DC or a size outside 1..32767.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// ---------------------------------------------------------------------------------------------
// Every object.

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Null for an index without a stock object. Stock objects outlive DeleteObject.
HGDIOBJ GetStockObject(int index);

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// 0 for a handle that is not a live object.
DWORD GetObjectType(HGDIOBJ object);

// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONTW, BITMAP) and answers its size;
// with a null buffer answers the size only. 0 for a dead handle, a DC, or a buffer smaller than
// the description.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

// FALSE for a dead handle and for an object selected into a DC (also in a state SaveDC kept):
// it stays alive and usable. TRUE for a stock object, which is kept.
BOOL DeleteObject(HGDIOBJ object);

#pragma GCC visibility pop
