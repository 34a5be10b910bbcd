#include "user/control_state.h"
#include "user/input.h"
#include "user/menu_internal.h"
#include "user/queue.h"
#include "user/screen.h"
#include "user/system_classes.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"

#include <algorithm>

namespace sv::user {
namespace {

constexpr int kSeparatorHeight = 9;
constexpr int kTextMargin = 20;

// One open popup: its menu, where its items lie, and how it ended.
struct Tracking {
    HMENU menu = nullptr;
    std::vector<RECT> rows; // client coordinates
    int hot = -1;
    bool done = false;
    UINT chosen = 0;
};

std::vector<HWND>& openPopups() {
    static std::vector<HWND> list;
    return list;
}

Tracking* trackingOf(HWND window) {
    return reinterpret_cast<Tracking*>(GetWindowLongPtrW(window, 0));
}

HFONT menuFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Lays the items out and answers the popup's size.
SIZE layout(Tracking& tracking) {
    const Menu* menu = findMenu(tracking.menu);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, menuFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int rowHeight = metrics.tmHeight + 6;
    int width = 80;
    int y = 2;
    tracking.rows.clear();
    for (const MenuItem& item : menu->items) {
        const int height = (item.flags & MF_SEPARATOR) ? kSeparatorHeight : rowHeight;
        RECT text{0, 0, 0, 0};
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text,
                  DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        width = std::max<int>(width, text.right + 2 * kTextMargin);
        tracking.rows.push_back({2, y, 0, y + height});
        y += height;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    for (RECT& row : tracking.rows)
        row.right = width - 2;
    return {width, y + 2};
}

bool selectable(const MenuItem& item) {
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP));
}

void choose(HWND window, int row) {
    Tracking& tracking = *trackingOf(window);
    const Menu* menu = findMenu(tracking.menu);
    if (!menu || row < 0 || static_cast<std::size_t>(row) >= menu->items.size())
        return;
    const MenuItem& item = menu->items[static_cast<std::size_t>(row)];
    // A disabled or greyed item is no choice: the menu stays open.
    if (!selectable(item))
        return;
    tracking.chosen = item.id;
    tracking.done = true;
}

int rowAt(HWND window, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const Tracking& tracking = *trackingOf(window);
    for (std::size_t i = 0; i < tracking.rows.size(); ++i)
        if (PtInRect(&tracking.rows[i], point))
            return static_cast<int>(i);
    return -1;
}

bool insideWindow(HWND window, LPARAM lParam) {
    const RECT rect = clientRect(window);
    return PtInRect(&rect, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
}

void setHot(HWND window, int row) {
    Tracking& tracking = *trackingOf(window);
    if (tracking.hot != row) {
        tracking.hot = row;
        InvalidateRect(window, nullptr, TRUE);
    }
}

// Moves the highlight to the next item that can be chosen, round the menu.
void stepHot(HWND window, int direction) {
    Tracking& tracking = *trackingOf(window);
    const Menu* menu = findMenu(tracking.menu);
    const int n = static_cast<int>(menu->items.size());
    int row = tracking.hot;
    for (int step = 0; step < n; ++step) {
        row = ((row + direction) % n + n) % n;
        if (!(menu->items[static_cast<std::size_t>(row)].flags & MF_SEPARATOR)) {
            setHot(window, row);
            return;
        }
    }
}

void pressKey(HWND window, WPARAM key) {
    Tracking& tracking = *trackingOf(window);
    switch (key) {
    case VK_ESCAPE:
        tracking.chosen = 0;
        tracking.done = true;
        break;
    case VK_UP:
        stepHot(window, -1);
        break;
    case VK_DOWN:
        stepHot(window, 1);
        break;
    case VK_RETURN:
        choose(window, tracking.hot);
        break;
    default:
        break;
    }
}

void drawMenu(HWND window, HDC dc) {
    const Tracking& tracking = *trackingOf(window);
    const Menu* menu = findMenu(tracking.menu);
    RECT rect = clientRect(window);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_MENU));
    DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
    if (!menu)
        return;
    HGDIOBJ old = SelectObject(dc, menuFont());
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < menu->items.size() && i < tracking.rows.size(); ++i) {
        const MenuItem& item = menu->items[i];
        RECT row = tracking.rows[i];
        if (item.flags & MF_SEPARATOR) {
            RECT line{row.left + 1, (row.top + row.bottom) / 2 - 1, row.right - 1,
                      (row.top + row.bottom) / 2 + 1};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            continue;
        }
        const bool hot = static_cast<int>(i) == tracking.hot;
        if (hot)
            FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        const bool grey = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        SetTextColor(
            dc, GetSysColor(grey ? COLOR_GRAYTEXT : (hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)));
        if (item.flags & MF_CHECKED) {
            RECT mark{row.left + 4, row.top, row.left + kTextMargin, row.bottom};
            DrawTextW(dc, L"\x2713", 1, &mark, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        row.left += kTextMargin;
        DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &row,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    }
    SelectObject(dc, old);
}

POINT placement(UINT flags, int x, int y, SIZE size) {
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    // The popup stays on the screen.
    const SIZE screen = svScreen()->size();
    x = std::clamp(x, 0, std::max(0, static_cast<int>(screen.cx - size.cx)));
    y = std::clamp(y, 0, std::max(0, static_cast<int>(screen.cy - size.cy)));
    return {x, y};
}

bool isKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

UINT runPopup(HWND window) {
    Tracking& tracking = *trackingOf(window);
    ModalScope scope(window);
    while (!tracking.done && IsWindow(window)) {
        MSG msg;
        if (!nextMessage(msg, {}, true, true))
            break;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (isKeyMessage(msg.message)) {
            if (msg.message == WM_KEYDOWN)
                pressKey(window, msg.wParam);
            continue;
        }
        DispatchMessageW(&msg);
        if (IsWindow(window) && GetCapture() != window)
            break;
    }
    return IsWindow(window) && tracking.done ? tracking.chosen : 0;
}

} // namespace

LRESULT popupMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Tracking* tracking = trackingOf(window);
    if (!tracking)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case MN_GETHMENU:
        return reinterpret_cast<LRESULT>(tracking->menu);
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        if (insideWindow(window, lParam))
            setHot(window, rowAt(window, lParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // A press outside the menu dismisses it.
        if (!insideWindow(window, lParam))
            tracking->done = true;
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (insideWindow(window, lParam))
            choose(window, rowAt(window, lParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(window, drawMenu);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sv::user

using namespace sv::user;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
    if (!findMenu(menu) || !IsWindow(owner))
        return FALSE;
    const bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    if (!findMenu(menu) || !IsWindow(owner))
        return FALSE;
    Tracking tracking;
    tracking.menu = menu;
    const SIZE size = layout(tracking);
    const POINT at = placement(flags, x, y, size);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_POPUPMENU, L"", WS_POPUP,
                                  at.x, at.y, size.cx, size.cy, owner, nullptr, nullptr, nullptr);
    if (!window)
        return FALSE;
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(&tracking));
    openPopups().push_back(window);
    ShowWindow(window, SW_SHOWNA);
    SetCapture(window);
    const UINT chosen = runPopup(window);
    openPopups().erase(std::remove(openPopups().begin(), openPopups().end(), window),
                       openPopups().end());
    if (GetCapture() == window)
        ReleaseCapture();
    SetWindowLongPtrW(window, 0, 0);
    DestroyWindow(window);
    if (notify && IsWindow(owner)) {
        SendMessageW(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen == 0)
        return FALSE;
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect) {
    if (!rect)
        return FALSE;
    for (auto at = openPopups().rbegin(); at != openPopups().rend(); ++at) {
        if (window && *at != window)
            continue;
        const Tracking* tracking = trackingOf(*at);
        if (!tracking || tracking->menu != menu || position >= tracking->rows.size())
            continue;
        *rect = tracking->rows[position];
        POINT origin{0, 0};
        ClientToScreen(*at, &origin);
        OffsetRect(rect, origin.x, origin.y);
        return TRUE;
    }
    return FALSE;
}
