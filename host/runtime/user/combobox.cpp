#include "user/control_state.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/list_scroll_bar.h"
#include "user/metrics.h"
#include "user/system_classes.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/rect.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"

#include "crt/crt.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

namespace sv::user {
namespace {

struct Item {
    std::wstring text;
    LRESULT data = 0;
};

struct ComboState {
    HFONT font = nullptr;
    std::vector<Item> items;
    int selection = CB_ERR;
    HWND list = nullptr; // the dropped list, while it is open
    bool focused = false;
    int droppedHeight = 0; // the height asked for, which the dropped list may use
    int topRow = 0;        // the first row the dropped list shows
    int thumbGrabY = -1;   // while the thumb is dragged, where the pointer took it
    int thumbGrabTop = 0;  // and the first row then
};

constexpr int kVisibleRows = 8;

ComboState& stateOf(HWND combo) {
    return *controlState<ComboState>(combo);
}

int count(const ComboState& s) {
    return static_cast<int>(s.items.size());
}

int shownRows(const ComboState& s) {
    return std::clamp(count(s), 1, kVisibleRows);
}

bool scrolls(const ComboState& s) {
    return count(s) > kVisibleRows;
}

int itemHeight(HWND combo) {
    HDC dc = GetDC(combo);
    HGDIOBJ old = stateOf(combo).font ? SelectObject(dc, stateOf(combo).font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(combo, dc);
    return std::max<int>(metrics.tmHeight, 1) + 2;
}

// The window keeps the height of its field whatever height it is given.
void fitField(HWND combo) {
    RECT rect = clientRect(combo);
    SetWindowPos(combo, nullptr, 0, 0, rect.right, stateOf(combo).droppedHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int addString(HWND combo, LPCWSTR text) {
    ComboState& s = stateOf(combo);
    Item item{text ? text : L"", 0};
    auto at = s.items.end();
    if (GetWindowLongW(combo, GWL_STYLE) & CBS_SORT)
        at = std::upper_bound(s.items.begin(), s.items.end(), item,
                              [](const Item& a, const Item& b) {
                                  return _wcsicmp(a.text.c_str(), b.text.c_str()) < 0;
                              });
    const int index = static_cast<int>(at - s.items.begin());
    s.items.insert(at, item);
    if (s.selection >= index)
        ++s.selection;
    InvalidateRect(combo, nullptr, TRUE);
    return index;
}

int insertString(HWND combo, int index, LPCWSTR text) {
    ComboState& s = stateOf(combo);
    if (index < 0)
        index = count(s);
    if (index > count(s))
        return CB_ERR;
    s.items.insert(s.items.begin() + index, Item{text ? text : L"", 0});
    if (s.selection >= index)
        ++s.selection;
    InvalidateRect(combo, nullptr, TRUE);
    return index;
}

// From after start round to start; -1 (or anything out of range) searches from the top.
int find(const ComboState& s, int start, LPCWSTR text, bool exact) {
    if (!text || s.items.empty())
        return CB_ERR;
    const std::size_t length = std::wcslen(text);
    const int n = count(s);
    if (start < 0 || start >= n)
        start = n - 1;
    for (int step = 1; step <= n; ++step) {
        const Item& item = s.items[static_cast<std::size_t>((start + step) % n)];
        const bool match = exact ? _wcsicmp(item.text.c_str(), text) == 0
                                 : item.text.size() >= length &&
                                       _wcsicmp(item.text.substr(0, length).c_str(), text) == 0;
        if (match)
            return (start + step) % n;
    }
    return CB_ERR;
}

void scrollTo(HWND combo, int top) {
    ComboState& s = stateOf(combo);
    top = std::clamp(top, 0, std::max(count(s) - shownRows(s), 0));
    if (top == s.topRow)
        return;
    s.topRow = top;
    if (s.list)
        InvalidateRect(s.list, nullptr, TRUE);
}

// Scrolls as little as brings the row into the dropped list.
void showRow(HWND combo, int row) {
    const ComboState& s = stateOf(combo);
    if (row < 0)
        return;
    if (row < s.topRow)
        scrollTo(combo, row);
    else if (row >= s.topRow + shownRows(s))
        scrollTo(combo, row - shownRows(s) + 1);
}

void select(HWND combo, int index, bool byUser) {
    ComboState& s = stateOf(combo);
    if (index < 0 || index >= count(s))
        index = CB_ERR;
    if (index == s.selection)
        return;
    s.selection = index;
    InvalidateRect(combo, nullptr, TRUE);
    if (s.list) {
        showRow(combo, index);
        InvalidateRect(s.list, nullptr, TRUE);
    }
    if (byUser)
        notifyParent(combo, CBN_SELCHANGE);
}

void closeList(HWND combo, bool accepted) {
    ComboState& s = stateOf(combo);
    HWND list = s.list;
    if (!list)
        return;
    s.list = nullptr;
    if (GetCapture() == list)
        ReleaseCapture();
    DestroyWindow(list);
    InvalidateRect(combo, nullptr, TRUE);
    notifyParent(combo, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (IsWindow(combo))
        notifyParent(combo, CBN_CLOSEUP);
}

void openList(HWND combo) {
    if (stateOf(combo).list)
        return;
    notifyParent(combo, CBN_DROPDOWN);
    if (!IsWindow(combo))
        return;
    ComboState& s = stateOf(combo);
    RECT rect;
    GetWindowRect(combo, &rect);
    const int rows = shownRows(s);
    s.topRow = 0;
    s.thumbGrabY = -1;
    showRow(combo, s.selection);
    HWND list =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOXW, L"", WS_POPUP | WS_BORDER,
                        rect.left, rect.bottom, rect.right - rect.left,
                        rows * itemHeight(combo) + 2, combo, nullptr, nullptr, nullptr);
    if (!list)
        return;
    SetWindowLongPtrW(list, 0, reinterpret_cast<LONG_PTR>(combo));
    stateOf(combo).list = list;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
}

void pressKey(HWND combo, WPARAM key) {
    ComboState& s = stateOf(combo);
    const bool open = s.list != nullptr;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        select(combo, s.selection <= 0 ? 0 : s.selection - 1, true);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (open || !(GetKeyState(VK_MENU) & 0x8000))
            select(combo, std::min(s.selection + 1, count(s) - 1), true);
        break;
    case VK_PRIOR:
        select(combo, std::max(s.selection - shownRows(s) + 1, 0), true);
        break;
    case VK_NEXT:
        select(combo, std::min(s.selection + shownRows(s) - 1, count(s) - 1), true);
        break;
    case VK_HOME:
        select(combo, 0, true);
        break;
    case VK_END:
        select(combo, count(s) - 1, true);
        break;
    case VK_F4:
        open ? closeList(combo, true) : openList(combo);
        break;
    case VK_RETURN:
        closeList(combo, true);
        break;
    case VK_ESCAPE:
        closeList(combo, false);
        break;
    default:
        break;
    }
}

void drawArrow(HDC dc, RECT button) {
    const int cx = (button.left + button.right) / 2;
    const int cy = (button.top + button.bottom) / 2 - 1;
    for (int i = 0; i < 4; ++i) {
        MoveToEx(dc, cx - 3 + i, cy + i, nullptr);
        LineTo(dc, cx + 4 - i, cy + i);
    }
}

void drawCombo(HWND combo, HDC dc) {
    const ComboState& s = stateOf(combo);
    RECT rect = clientRect(combo);
    HBRUSH brush = controlBrush(combo, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &rect, brush);
    DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
    RECT button{rect.right - buttonWidth, rect.top, rect.right, rect.bottom};
    DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (s.list ? DFCS_PUSHED : 0));
    drawArrow(dc, button);
    RECT field{rect.left, rect.top, button.left, rect.bottom};
    HGDIOBJ oldFont = s.font ? SelectObject(dc, s.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    const bool highlighted = s.focused && !s.list && IsWindowEnabled(combo);
    if (highlighted) {
        RECT marked = field;
        InflateRect(&marked, -1, -1);
        FillRect(dc, &marked, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawFocusRect(dc, &marked);
    } else if (!IsWindowEnabled(combo)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    if (s.selection >= 0) {
        RECT text = field;
        text.left += 2;
        const std::wstring& shown = s.items[static_cast<std::size_t>(s.selection)].text;
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

// Copies at most limit - 1 characters of an item and a terminator (CB_GETLBTEXT trusts the
// buffer to be large enough); answers the characters copied, CB_ERR for no such item.
LRESULT copyItem(const ComboState& s, std::size_t index, LPARAM buffer, std::size_t limit) {
    if (index >= s.items.size())
        return CB_ERR;
    const std::wstring& text = s.items[index].text;
    const std::size_t copied = std::min(text.size(), limit - 1);
    if (buffer) {
        std::wmemcpy(reinterpret_cast<wchar_t*>(buffer), text.c_str(), copied);
        reinterpret_cast<wchar_t*>(buffer)[copied] = 0;
    }
    return static_cast<LRESULT>(copied);
}

HWND comboOfList(HWND list) {
    return reinterpret_cast<HWND>(GetWindowLongPtrW(list, 0));
}

// The scroll bar inside the list's frame, when the list is longer than it shows.
ListScrollBar scrollBarOf(HWND list) {
    const ComboState& s = stateOf(comboOfList(list));
    RECT inside = clientRect(list);
    InflateRect(&inside, -1, -1);
    return ListScrollBar::along(inside, count(s), shownRows(s), s.topRow);
}

constexpr int kOutside = -2;
constexpr int kOnScrollBar = -3;

int rowAt(HWND list, LPARAM lParam) {
    HWND combo = comboOfList(list);
    const ComboState& s = stateOf(combo);
    const RECT rect = clientRect(list);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!PtInRect(&rect, point))
        return kOutside;
    if (scrolls(s) && scrollBarOf(list).partAt(point) != ListScrollBar::Part::none)
        return kOnScrollBar;
    const int row = s.topRow + (point.y - 1) / itemHeight(combo);
    return row < count(s) ? row : -1;
}

void drawList(HWND list, HDC dc) {
    HWND combo = comboOfList(list);
    const ComboState& s = stateOf(combo);
    RECT rect = clientRect(list);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
    HGDIOBJ oldFont = s.font ? SelectObject(dc, s.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    const int height = itemHeight(combo);
    const ListScrollBar scroll = scrollBarOf(list);
    const LONG rowsRight = scrolls(s) ? scroll.bar.left : rect.right - 1;
    const int last = std::min(count(s), s.topRow + shownRows(s));
    for (int row = s.topRow; row < last; ++row) {
        const int line = row - s.topRow;
        RECT item{rect.left + 1, rect.top + 1 + line * height, rowsRight,
                  rect.top + 1 + (line + 1) * height};
        const bool chosen = row == s.selection;
        if (chosen)
            FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        item.left += 2;
        const std::wstring& text = s.items[static_cast<std::size_t>(row)].text;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &item,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (oldFont)
        SelectObject(dc, oldFont);
    if (scrolls(s))
        scroll.paint(dc);
}

// A press on the list's scroll bar scrolls it, or takes the thumb, and keeps the list open.
void pressScrollBar(HWND list, LPARAM lParam) {
    HWND combo = comboOfList(list);
    ComboState& s = stateOf(combo);
    const ListScrollBar scroll = scrollBarOf(list);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const ListScrollBar::Part part = scroll.partAt(point);
    if (part == ListScrollBar::Part::thumb) {
        s.thumbGrabY = point.y;
        s.thumbGrabTop = s.topRow;
        return;
    }
    scrollTo(combo, scroll.topAfter(part));
}

void dragThumb(HWND list, LPARAM lParam) {
    HWND combo = comboOfList(list);
    const ComboState& s = stateOf(combo);
    if (s.thumbGrabY < 0 || !(GetKeyState(VK_LBUTTON) & 0x8000))
        return;
    scrollTo(combo,
             scrollBarOf(list).topDraggedTo(s.thumbGrabY, s.thumbGrabTop, GET_Y_LPARAM(lParam)));
}

} // namespace

LRESULT comboListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND combo = comboOfList(list);
    if (!controlState<ComboState>(combo))
        return DefWindowProcW(list, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONUP: {
        // The release of the press that opened the list lands outside it and changes nothing;
        // nor does one that ends a press on the scroll bar.
        const bool scrolled = stateOf(combo).thumbGrabY >= 0;
        stateOf(combo).thumbGrabY = -1;
        const int row = rowAt(list, lParam);
        if (row < 0 || scrolled)
            return 0;
        select(combo, row, true);
        if (IsWindow(combo))
            closeList(combo, true);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        // A press outside the list closes it; on a row, the release chooses.
        const int row = rowAt(list, lParam);
        if (row == kOutside)
            closeList(combo, false);
        else if (row == kOnScrollBar)
            pressScrollBar(list, lParam);
        return 0;
    }
    case WM_MOUSEMOVE:
        dragThumb(list, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        const ComboState& s = stateOf(combo);
        scrollTo(combo, svWheelTopRow(s.topRow, count(s), shownRows(s), wParam));
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (stateOf(combo).list == list && reinterpret_cast<HWND>(lParam) != list)
            closeList(combo, false);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(list, drawList);
    default:
        return DefWindowProcW(list, message, wParam, lParam);
    }
}

LRESULT comboBoxProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* found = stateFor<ComboState>(combo, message);
    if (!found)
        return DefWindowProcW(combo, message, wParam, lParam);
    ComboState& s = *found;
    switch (message) {
    case WM_NCDESTROY:
        destroyControlState<ComboState>(combo);
        return 0;
    case WM_DESTROY:
        if (s.list) {
            HWND list = s.list;
            s.list = nullptr;
            DestroyWindow(list);
        }
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (s.list && msg && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CREATE:
        s.droppedHeight = reinterpret_cast<const CREATESTRUCTW*>(lParam)->cy;
        fitField(combo);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE)) {
            s.droppedHeight = pos->cy;
            pos->cy = itemHeight(combo) + 4;
        }
        return 0;
    }
    case WM_SETFONT:
        setControlFont(combo, s.font, wParam, lParam);
        fitField(combo);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_GETTEXT:
        if (s.selection < 0 || wParam == 0)
            return 0;
        return copyItem(s, static_cast<std::size_t>(s.selection), lParam, wParam);
    case WM_GETTEXTLENGTH:
        return s.selection < 0 ? 0
                               : static_cast<LRESULT>(
                                     s.items[static_cast<std::size_t>(s.selection)].text.size());
    case WM_SETTEXT: {
        const int found = find(s, -1, reinterpret_cast<LPCWSTR>(lParam), true);
        if (found == CB_ERR)
            return CB_ERR;
        select(combo, found, false);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != combo)
            SetFocus(combo);
        if (IsWindow(combo))
            s.list ? closeList(combo, true) : openList(combo);
        return 0;
    case WM_KEYDOWN:
        pressKey(combo, wParam);
        return 0;
    case WM_CHAR: {
        const wchar_t typed[2] = {static_cast<wchar_t>(wParam), 0};
        const int found = find(s, s.selection, typed, false);
        if (found != CB_ERR)
            select(combo, found, true);
        return 0;
    }
    case WM_SETFOCUS:
        s.focused = true;
        InvalidateRect(combo, nullptr, TRUE);
        notifyParent(combo, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s.focused = false;
        closeList(combo, false);
        if (!IsWindow(combo))
            return 0;
        InvalidateRect(combo, nullptr, TRUE);
        notifyParent(combo, CBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(combo, nullptr, TRUE);
        return 0;
    case CB_ADDSTRING:
        return addString(combo, reinterpret_cast<LPCWSTR>(lParam));
    case CB_INSERTSTRING:
        return insertString(combo, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
    case CB_DELETESTRING: {
        const auto index = static_cast<std::size_t>(wParam);
        if (index >= s.items.size())
            return CB_ERR;
        s.items.erase(s.items.begin() + static_cast<std::ptrdiff_t>(index));
        if (s.selection == static_cast<int>(index))
            s.selection = CB_ERR;
        else if (s.selection > static_cast<int>(index))
            --s.selection;
        scrollTo(combo, s.topRow); // a shorter list may end higher up
        InvalidateRect(combo, nullptr, TRUE);
        return count(s);
    }
    case CB_RESETCONTENT:
        s.items.clear();
        s.selection = CB_ERR;
        s.topRow = 0;
        InvalidateRect(combo, nullptr, TRUE);
        return CB_OKAY;
    case CB_GETCOUNT:
        return count(s);
    case CB_GETCURSEL:
        return s.selection;
    case CB_SETCURSEL:
        select(combo, static_cast<int>(wParam), false);
        return stateOf(combo).selection;
    case CB_GETLBTEXT:
        return copyItem(s, wParam, lParam, SIZE_MAX);
    case CB_GETLBTEXTLEN:
        return copyItem(s, wParam, 0, SIZE_MAX);
    case CB_FINDSTRING:
        return find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), false);
    case CB_FINDSTRINGEXACT:
        return find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), true);
    case CB_SELECTSTRING: {
        const int found =
            find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), false);
        if (found != CB_ERR)
            select(combo, found, false);
        return found;
    }
    case CB_GETITEMDATA:
        return wParam < s.items.size() ? s.items[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
        if (wParam >= s.items.size())
            return CB_ERR;
        s.items[wParam].data = lParam;
        return TRUE;
    case CB_SHOWDROPDOWN:
        wParam ? openList(combo) : closeList(combo, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s.list ? TRUE : FALSE;
    case CB_GETTOPINDEX:
        return s.topRow;
    case CB_SETTOPINDEX:
        if (static_cast<int>(wParam) < 0 || static_cast<int>(wParam) >= count(s))
            return CB_ERR;
        scrollTo(combo, static_cast<int>(wParam));
        return CB_OKAY;
    case WM_MOUSEWHEEL:
        // The open list scrolls; a closed field with the focus steps through its choices.
        if (s.list)
            return SendMessageW(s.list, message, wParam, lParam);
        if (GetFocus() != combo || count(s) == 0)
            return DefWindowProcW(combo, message, wParam, lParam);
        select(combo,
               std::clamp(s.selection + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1), 0,
                          count(s) - 1),
               true);
        return 0;
    case CB_GETITEMHEIGHT:
        return itemHeight(combo);
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect)
            return CB_ERR;
        GetWindowRect(combo, rect);
        rect->bottom += shownRows(s) * itemHeight(combo) + 2;
        return TRUE;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(combo, drawCombo);
    default:
        return DefWindowProcW(combo, message, wParam, lParam);
    }
}

} // namespace sv::user

BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
    using namespace sv::user;
    if (info == nullptr || info->cbSize != sizeof(COMBOBOXINFO) || !IsWindow(combo) ||
        controlState<ComboState>(combo) == nullptr)
        return FALSE;
    const ComboState& s = stateOf(combo);
    RECT rect;
    GetClientRect(combo, &rect);
    const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
    info->rcButton = RECT{rect.right - buttonWidth, rect.top, rect.right, rect.bottom};
    info->rcItem = RECT{rect.left + 2, rect.top + 2, info->rcButton.left, rect.bottom - 2};
    info->stateButton = s.list ? STATE_SYSTEM_PRESSED : 0;
    info->hwndCombo = combo;
    info->hwndItem = nullptr;
    info->hwndList = s.list;
    return TRUE;
}
