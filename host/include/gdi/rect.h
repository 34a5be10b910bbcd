#pragma once

#include "gdi/types.h"

#pragma GCC visibility push(default)

// Rectangle arithmetic. Every function refuses a null pointer with FALSE.
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT destination, const RECT* source);
BOOL InflateRect(LPRECT rect, int dx, int dy);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
// Empty when right <= left or bottom <= top.
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
// The overlap; an empty result is stored as all zeros and answers FALSE.
BOOL IntersectRect(LPRECT destination, const RECT* a, const RECT* b);
// The smallest rectangle holding both; an empty operand is ignored.
BOOL UnionRect(LPRECT destination, const RECT* a, const RECT* b);

#pragma GCC visibility pop
