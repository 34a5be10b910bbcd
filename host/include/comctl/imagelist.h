#pragma once

#include "user/controls.h"

#pragma GCC visibility push(default)

// An image list: images of one size side by side. The handle is a key into the list table,
// refused once destroyed.
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_BLEND25 0x00000002
#define ILD_FOCUS ILD_BLEND25
#define ILD_BLEND50 0x00000004
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020

#define CLR_NONE 0xFFFFFFFFL
#define CLR_DEFAULT 0xFF000000L

// Image loading flags; the window manager may declare the same values.
#ifndef LR_DEFAULTCOLOR
#define LR_DEFAULTCOLOR 0x00000000
#define LR_LOADFROMFILE 0x00000010
#define LR_LOADTRANSPARENT 0x00000020
#define LR_CREATEDIBSECTION 0x00002000
#define LR_SHARED 0x00008000
#endif

// Images are cx by cy pixels (1..256); initial and grow reserve room (the list grows by grow
// images when full, by at least one). Null for a size out of range.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// -1 for a dead handle.
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Cuts the bitmap into images of the list's width, left to right, and answers the index of the
// first; -1 for a dead handle, a bitmap not as high as the images, or a full list. With a mask
// bitmap, its white pixels are transparent; AddMasked makes every pixel of the colour
// transparent.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST list, int index);
// The colour drawn under transparent pixels by ILD_NORMAL; CLR_NONE (the default) draws
// nothing there. Answers the previous colour.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// Draws image index at (x, y) of the DC. ILD_MASK draws the mask (black where opaque, white
// where transparent); ILD_BLEND25/50 blend the image with the highlight colour.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

// A list from a bitmap resource (IMAGE_BITMAP only): images cx wide and as high as the bitmap,
// as many as fit; a mask colour other than CLR_NONE makes its pixels transparent. Null when the
// resource is missing or not a bitmap the resource layer decodes.
HIMAGELIST ImageList_LoadImageW(HINSTANCE instance, LPCWSTR name, int cx, int grow,
                                COLORREF maskColor, UINT type, UINT flags);
#define ImageList_LoadBitmapW(instance, name, cx, grow, maskColor)                                 \
    ImageList_LoadImageW(instance, name, cx, grow, maskColor, IMAGE_BITMAP, 0)

#pragma GCC visibility pop
