#include "control_support.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"
#include "tree_view.h"
#include "user/input.h"

namespace sv::comctl {
namespace {

constexpr int kButtonSize = 9;

// A boxed plus or minus centred at (x, y).
void paintButton(HDC dc, int x, int y, bool expanded) {
    const int half = kButtonSize / 2;
    RECT box{x - half, y - half, x + half + 1, y + half + 1};
    FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, x - 2, y, nullptr);
    LineTo(dc, x + 3, y);
    if (!expanded) {
        MoveToEx(dc, x, y - 2, nullptr);
        LineTo(dc, x, y + 3);
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

} // namespace

void TreeView::paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ previousFont = SelectObject(dc, controlFont(font_));
    SetBkMode(dc, TRANSPARENT);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const bool focus = GetFocus() == window_;
    const bool showSelection = focus || (style & TVS_SHOWSELALWAYS);
    int imageWidth = 0;
    int imageHeight = 0;
    const bool images = ImageList_GetIconSize(images_, &imageWidth, &imageHeight) != 0;
    const int height = rowHeight();

    const std::vector<Row> rows = visibleRows();
    for (int index = topRow_; index < static_cast<int>(rows.size()); ++index) {
        const Row& row = rows[static_cast<std::size_t>(index)];
        const RECT text = textRect(row, index);
        if (text.top >= client.bottom) {
            break;
        }
        const Item& item = items_.at(row.key);
        const int left = itemLeft(row.depth);
        const int middle = text.top + height / 2;
        if ((style & TVS_HASBUTTONS) && left >= indent_ && hasChildren(item)) {
            paintButton(dc, left - indent_ / 2, middle, (item.state & TVIS_EXPANDED) != 0);
        }
        if (images) {
            const int image = row.key == caret_ ? item.selectedImage : item.image;
            ImageList_Draw(images_, image, dc, left, text.top + (height - imageHeight) / 2,
                           ILD_TRANSPARENT);
        }
        const bool highlighted = (row.key == caret_ && showSelection) || row.key == dropHighlight_;
        COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
        if (highlighted) {
            const bool strong = focus || row.key == dropHighlight_;
            FillRect(dc, &text, GetSysColorBrush(strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            colour = GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        }
        SetTextColor(dc, colour);
        RECT label = text;
        label.left += 2;
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &label,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (row.key == caret_ && focus) {
            DrawFocusRect(dc, &text);
        }
    }
    SelectObject(dc, previousFont);
}

} // namespace sv::comctl
