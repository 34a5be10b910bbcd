#include "user/list_scroll_bar.h"

#include "gdi/draw.h"
#include "gdi/rect.h"
#include "gdi/syscolors.h"
#include "user/metrics.h"

#include <algorithm>

namespace sv::user {
namespace {

int arrowHeight(const RECT& bar) {
    return std::min<int>(bar.right - bar.left, (bar.bottom - bar.top) / 2);
}

// Rows of a triangle pointing up or down, narrowing away from its base.
void drawArrow(HDC dc, const RECT& button, bool up) {
    const int cx = (button.left + button.right) / 2;
    const int cy = (button.top + button.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        const int y = up ? cy + 1 - i : cy - 2 + i;
        MoveToEx(dc, cx - 3 + i, y, nullptr);
        LineTo(dc, cx + 4 - i, y);
    }
}

} // namespace

ListScrollBar ListScrollBar::along(const RECT& client, int count, int shown, int top) {
    ListScrollBar scroll;
    scroll.bar = RECT{client.right - GetSystemMetrics(SM_CXVSCROLL), client.top, client.right,
                      client.bottom};
    scroll.count = std::max(count, 0);
    scroll.shown = std::max(shown, 1);
    scroll.top = std::clamp(top, 0, scroll.lastTop());
    return scroll;
}

int ListScrollBar::lastTop() const {
    return std::max(count - shown, 0);
}

RECT ListScrollBar::thumb() const {
    const int arrow = arrowHeight(bar);
    const int track = std::max<int>(bar.bottom - bar.top - 2 * arrow, 0);
    const int length =
        count > 0 ? std::clamp(track * shown / count, std::min(track, 8), track) : track;
    const int travel = track - length;
    const int offset = lastTop() > 0 ? travel * top / lastTop() : 0;
    const LONG start = bar.top + arrow + offset;
    return RECT{bar.left, start, bar.right, start + length};
}

ListScrollBar::Part ListScrollBar::partAt(POINT point) const {
    if (!PtInRect(&bar, point))
        return Part::none;
    const int arrow = arrowHeight(bar);
    if (point.y < bar.top + arrow)
        return Part::lineUp;
    if (point.y >= bar.bottom - arrow)
        return Part::lineDown;
    const RECT knob = thumb();
    if (point.y < knob.top)
        return Part::pageUp;
    return point.y < knob.bottom ? Part::thumb : Part::pageDown;
}

int ListScrollBar::topAfter(Part part) const {
    int moved = top;
    switch (part) {
    case Part::lineUp:
        moved = top - 1;
        break;
    case Part::lineDown:
        moved = top + 1;
        break;
    case Part::pageUp:
        moved = top - shown;
        break;
    case Part::pageDown:
        moved = top + shown;
        break;
    default:
        break;
    }
    return std::clamp(moved, 0, lastTop());
}

int ListScrollBar::topDraggedTo(int grabY, int grabTop, int y) const {
    const RECT knob = thumb();
    const int arrow = arrowHeight(bar);
    const int travel =
        std::max<int>(bar.bottom - bar.top - 2 * arrow - (knob.bottom - knob.top), 0);
    if (travel == 0)
        return top;
    // Rounded to the nearest row, so the thumb follows the pointer evenly both ways.
    const long long rows = static_cast<long long>(y - grabY) * lastTop();
    const int step = static_cast<int>((rows + (rows < 0 ? -travel : travel) / 2) / travel);
    return std::clamp(grabTop + step, 0, lastTop());
}

void ListScrollBar::paint(HDC dc) const {
    FillRect(dc, &bar, GetSysColorBrush(COLOR_SCROLLBAR));
    const int arrow = arrowHeight(bar);
    RECT up{bar.left, bar.top, bar.right, bar.top + arrow};
    RECT down{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    RECT knob = thumb();
    for (RECT* button : {&up, &down, &knob})
        DrawFrameControl(dc, button, DFC_BUTTON, DFCS_BUTTONPUSH);
    drawArrow(dc, up, true);
    drawArrow(dc, down, false);
}

} // namespace sv::user
