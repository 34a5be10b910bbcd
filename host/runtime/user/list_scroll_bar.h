#pragma once

#include "user/types.h"

namespace sv::user {

// A vertical scroll bar down the right edge of a list that shows `shown` of `count` rows from
// `top`: arrows of its width at both ends, the thumb in between as long as the share shown.
struct ListScrollBar {
    RECT bar{};
    int count = 0, shown = 1, top = 0;

    enum class Part { none, lineUp, pageUp, thumb, pageDown, lineDown };

    // Whole rows only, so the list never shows past its last row.
    static ListScrollBar along(const RECT& client, int count, int shown, int top);
    int lastTop() const;
    RECT thumb() const;
    Part partAt(POINT point) const;
    // The first row a press on a part scrolls to.
    int topAfter(Part part) const;
    // The first row when the thumb, grabbed at grabY with the list at grabTop, is dragged to y.
    int topDraggedTo(int grabY, int grabTop, int y) const;
    void paint(HDC dc) const;
};

} // namespace sv::user
