#include <algorithm>

#include "control_support.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"
#include "list_view.h"
#include "user/input.h"

namespace sv::comctl {
namespace {

constexpr int kTextInset = 6;

COLORREF resolve(COLORREF colour, COLORREF fallback) {
    return colour == CLR_DEFAULT ? fallback : colour;
}

UINT alignment(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

} // namespace

LRESULT ListView::customDraw(NMLVCUSTOMDRAW& draw, DWORD stage) {
    draw.nmcd.dwDrawStage = stage;
    return notifyParent(window_, NM_CUSTOMDRAW, &draw.nmcd.hdr);
}

void ListView::paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    HGDIOBJ previousFont = SelectObject(dc, controlFont(font_));
    SetBkMode(dc, TRANSPARENT);
    if (background_ != CLR_NONE) {
        HBRUSH brush = CreateSolidBrush(background_);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }

    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = client;
    const auto answer = static_cast<DWORD>(customDraw(draw, CDDS_PREPAINT));
    if (!(answer & CDRF_SKIPDEFAULT)) {
        const int header = headerHeight();
        for (int row = topRow_; row < model_.rowCount(); ++row) {
            const RECT bounds = rowRect(row);
            if (bounds.top >= client.bottom) {
                break;
            }
            if (bounds.bottom > header) {
                paintRow(dc, row, answer, draw);
            }
        }
        if (showsHeader()) {
            paintHeader(dc, client);
        }
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.rc = client;
        draw.nmcd.dwItemSpec = 0;
        draw.iSubItem = 0;
        customDraw(draw, CDDS_POSTPAINT);
    }
    SelectObject(dc, previousFont);
}

void ListView::paintHeader(HDC dc, const RECT& client) const {
    RECT strip{client.left, 0, client.right, headerHeight()};
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (int c = 0; c < model_.columnCount(); ++c) {
        RECT cell{columnLeft(c), 0, columnLeft(c + 1), strip.bottom};
        if (cell.right <= cell.left) {
            continue;
        }
        DrawEdge(dc, &cell, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        RECT text = cell;
        InflateRect(&text, -kTextInset, 0);
        const ListColumn& column = model_.column(c);
        DrawTextW(dc, column.text.c_str(), static_cast<int>(column.text.size()), &text,
                  alignment(column.format) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                      DT_END_ELLIPSIS);
    }
}

void ListView::paintRow(HDC dc, int row, DWORD listAnswer, NMLVCUSTOMDRAW& draw) {
    const bool focus = GetFocus() == window_;
    const ListRow& item = model_.row(row);
    UINT state = 0;
    state |= (item.state & LVIS_SELECTED) ? CDIS_SELECTED : 0;
    state |= (item.state & LVIS_FOCUSED) && focus ? CDIS_FOCUS : 0;

    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.nmcd.uItemState = state;
    draw.nmcd.lItemlParam = item.data;
    draw.nmcd.rc = rowRect(row);
    draw.clrText = textColour_;
    draw.clrTextBk = textBackground_;
    draw.iSubItem = 0;
    DWORD rowAnswer = CDRF_DODEFAULT;
    if (listAnswer & CDRF_NOTIFYITEMDRAW) {
        rowAnswer = static_cast<DWORD>(customDraw(draw, CDDS_ITEMPREPAINT));
        if (rowAnswer & CDRF_SKIPDEFAULT) {
            return;
        }
    }
    // The handler may have deleted rows while it was asked.
    if (!model_.hasRow(row)) {
        return;
    }
    const COLORREF rowText = draw.clrText;
    const COLORREF rowBackground = draw.clrTextBk;
    const UINT rowState = draw.nmcd.uItemState;
    const bool fullRow = (extendedStyle_ & LVS_EX_FULLROWSELECT) != 0;
    const bool showSelection =
        focus || (GetWindowLongW(window_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;

    const int columns = std::max(model_.columnCount(), 1);
    for (int c = 0; c < columns; ++c) {
        draw.clrText = rowText;
        draw.clrTextBk = rowBackground;
        draw.nmcd.uItemState = rowState;
        draw.nmcd.rc = cellRect(row, c);
        draw.iSubItem = c;
        DWORD cellAnswer = CDRF_DODEFAULT;
        if (rowAnswer & CDRF_NOTIFYSUBITEMDRAW) {
            cellAnswer = static_cast<DWORD>(customDraw(draw, CDDS_ITEMPREPAINT | CDDS_SUBITEM));
            if (cellAnswer & CDRF_SKIPDEFAULT) {
                continue;
            }
            if (!model_.hasRow(row)) {
                return;
            }
        }
        const bool highlighted =
            (draw.nmcd.uItemState & CDIS_SELECTED) && showSelection && (c == 0 || fullRow);
        paintCell(dc, row, c, resolve(draw.clrText, textColour_),
                  resolve(draw.clrTextBk, textBackground_), highlighted);
        if (cellAnswer & CDRF_NOTIFYPOSTPAINT) {
            customDraw(draw, CDDS_ITEMPOSTPAINT | CDDS_SUBITEM);
        }
    }
    if (rowState & CDIS_FOCUS) {
        RECT bounds = fullRow ? rowRect(row) : cellRect(row, 0);
        DrawFocusRect(dc, &bounds);
    }
    if (rowAnswer & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.rc = rowRect(row);
        draw.iSubItem = 0;
        customDraw(draw, CDDS_ITEMPOSTPAINT);
    }
}

void ListView::paintCell(HDC dc, int row, int column, COLORREF text, COLORREF background,
                         bool highlighted) const {
    const RECT cell = cellRect(row, column);
    if (cell.right <= cell.left) {
        return;
    }
    const bool focus = GetFocus() == window_;
    if (highlighted) {
        background = GetSysColor(focus ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        text = GetSysColor(focus ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    }
    if (background != CLR_NONE) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &cell, brush);
        DeleteObject(brush);
    }
    RECT label = cell;
    label.left += kTextInset;
    label.right -= kTextInset;
    const ListRow& item = model_.row(row);
    int imageWidth = 0;
    int imageHeight = 0;
    if (column == 0 && ImageList_GetIconSize(images_[LVSIL_SMALL], &imageWidth, &imageHeight)) {
        const int top = cell.top + (cell.bottom - cell.top - imageHeight) / 2;
        ImageList_Draw(images_[LVSIL_SMALL], item.image, dc, cell.left + 2, top, ILD_TRANSPARENT);
        label.left = cell.left + 2 + imageWidth + 2;
    }
    const std::wstring& content = model_.cellText(row, column);
    if (content.empty() || label.right <= label.left) {
        return;
    }
    SetTextColor(dc, text);
    const int format = model_.hasColumn(column) ? model_.column(column).format : LVCFMT_LEFT;
    DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &label,
              alignment(format) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace sv::comctl
