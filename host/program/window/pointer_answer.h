#pragma once

#include <string>

#include "drawing_view.h"

namespace window {

// A point as a person would type it, to the precision one pixel of the view gives: clicking
// twice on the same pixel gives the same answer, and no digits pretend to more.
std::wstring pointAnswer(ViewPoint point, double unitsPerPixel);

// A drag at a selection prompt: from left to right a window (what lies wholly inside), from right
// to left a crossing (what the rectangle touches), answered as the selection's keyword and its
// two corners.
std::wstring selectionDragAnswer(ViewPoint from, ViewPoint to, double unitsPerPixel);

} // namespace window
