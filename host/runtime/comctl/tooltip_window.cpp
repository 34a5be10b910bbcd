#include "tooltip_window.h"

#include <algorithm>

#include "control_support.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"
#include "user/input.h"
#include "user/metrics.h"
#include "user/paint.h"
#include "win/resources.h"

namespace sv::comctl {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kAutopopTimer = 2;
// While a tip waits or shows, the pointer is watched, so the tip goes when the pointer leaves
// the tool even if no message is relayed from where it went.
constexpr UINT_PTR kWatchTimer = 3;
constexpr UINT kWatchInterval = 100;
constexpr int kMargin = 4;
// The tip sits below the pointer's hot spot, clear of the cursor.
constexpr int kBelowPointer = 20;

bool isMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

std::wstring toolText(const TOOLINFOW* info) {
    if (info->lpszText != nullptr && IS_INTRESOURCE(info->lpszText) && info->hinst != nullptr) {
        wchar_t buffer[kMaxItemText + 1] = {};
        const auto id = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(info->lpszText));
        const int length = LoadStringW(info->hinst, id, buffer, static_cast<int>(kMaxItemText + 1));
        return std::wstring(buffer, static_cast<std::size_t>(std::max(length, 0)));
    }
    if (IS_INTRESOURCE(info->lpszText)) {
        return {};
    }
    return readText(info->lpszText);
}

bool validInfo(const TOOLINFOW* info) {
    return info != nullptr && info->cbSize >= TTTOOLINFOW_V1_SIZE;
}

} // namespace

Tooltip::Tooltip(HWND window) : window_(window) {}

LRESULT Tooltip::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<TOOLINFOW*>(lParam);
    switch (message) {
    case TTM_ADDTOOLW:
        return addTool(info);
    case TTM_DELTOOLW:
        deleteTool(info);
        return 0;
    case TTM_UPDATETIPTEXTW: {
        Tool* tool = find(info);
        if (tool != nullptr) {
            tool->text = toolText(info);
            if (shown_ && tool == find(hotWindow_, hotId_)) {
                POINT cursor{};
                GetCursorPos(&cursor);
                fitToText(cursor);
                InvalidateRect(window_, nullptr, TRUE);
            }
        }
        return 0;
    }
    case TTM_NEWTOOLRECTW: {
        Tool* tool = find(info);
        if (tool != nullptr) {
            tool->rect = info->rect;
        }
        return 0;
    }
    case TTM_GETTEXTW: {
        Tool* tool = find(info);
        if (tool != nullptr) {
            copyText(tool->text, info->lpszText, wParam == 0 ? 80 : static_cast<int>(wParam));
        }
        return 0;
    }
    case TTM_GETTOOLINFOW:
        return getToolInfo(info);
    case TTM_SETTOOLINFOW:
        return setToolInfo(info);
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(tools_.size());
    case TTM_RELAYEVENT:
        relay(reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_ACTIVATE:
        active_ = wParam != 0;
        if (!active_) {
            hide();
        }
        return 0;
    case TTM_POP:
        hide();
        return 0;
    case TTM_SETDELAYTIME:
        setDelay(wParam, static_cast<short>(LOWORD(lParam)));
        return 0;
    case TTM_GETDELAYTIME:
        switch (wParam) {
        case TTDT_RESHOW:
            return reshowDelay_;
        case TTDT_AUTOPOP:
            return autopopDelay_;
        default:
            return initialDelay_;
        }
    case WM_TIMER:
        timer(wParam);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_PAINT:
        return paintWindow(window_, [this](HDC dc) { paint(dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------------------------
// Tools.

Tooltip::Tool* Tooltip::find(HWND window, UINT_PTR id) {
    for (Tool& tool : tools_) {
        if (tool.window == window && tool.id == id) {
            return &tool;
        }
    }
    return nullptr;
}

Tooltip::Tool* Tooltip::find(const TOOLINFOW* info) {
    return validInfo(info) ? find(info->hwnd, info->uId) : nullptr;
}

BOOL Tooltip::addTool(const TOOLINFOW* info) {
    if (!validInfo(info) || tools_.size() >= kMaxTools || find(info) != nullptr) {
        return FALSE;
    }
    Tool tool;
    tool.flags = info->uFlags;
    tool.window = info->hwnd;
    tool.id = info->uId;
    tool.rect = info->rect;
    tool.text = toolText(info);
    if (info->cbSize >= offsetof(TOOLINFOW, lpReserved)) {
        tool.data = info->lParam;
    }
    tools_.push_back(std::move(tool));
    return TRUE;
}

void Tooltip::deleteTool(const TOOLINFOW* info) {
    Tool* tool = find(info);
    if (tool == nullptr) {
        return;
    }
    if (tool == find(hotWindow_, hotId_)) {
        hide();
        hotWindow_ = nullptr;
        hotId_ = 0;
    }
    tools_.erase(tools_.begin() + (tool - tools_.data()));
}

BOOL Tooltip::setToolInfo(const TOOLINFOW* info) {
    Tool* tool = find(info);
    if (tool == nullptr) {
        return FALSE;
    }
    tool->flags = info->uFlags;
    tool->rect = info->rect;
    tool->text = toolText(info);
    return TRUE;
}

BOOL Tooltip::getToolInfo(TOOLINFOW* info) {
    const Tool* tool = find(info);
    if (tool == nullptr) {
        return FALSE;
    }
    fillInfo(*tool, info);
    return TRUE;
}

void Tooltip::fillInfo(const Tool& tool, TOOLINFOW* info) const {
    info->uFlags = tool.flags;
    info->rect = tool.rect;
    info->hinst = nullptr;
    // The platform's contract: a text buffer given here holds at least 80 characters.
    copyText(tool.text, info->lpszText, 80);
    if (info->cbSize >= offsetof(TOOLINFOW, lpReserved)) {
        info->lParam = tool.data;
    }
}

void Tooltip::setDelay(WPARAM which, int milliseconds) {
    const bool reset = milliseconds < 0;
    const UINT value = reset ? 500u : static_cast<UINT>(milliseconds);
    switch (which) {
    case TTDT_AUTOMATIC:
        initialDelay_ = value;
        autopopDelay_ = value * 10;
        reshowDelay_ = value / 5;
        break;
    case TTDT_INITIAL:
        initialDelay_ = value;
        break;
    case TTDT_AUTOPOP:
        autopopDelay_ = reset ? 5000u : value;
        break;
    case TTDT_RESHOW:
        reshowDelay_ = reset ? 100u : value;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding.

Tooltip::Tool* Tooltip::toolAt(HWND window, POINT point) {
    for (Tool& tool : tools_) {
        if (tool.flags & TTF_IDISHWND) {
            const auto whole = reinterpret_cast<HWND>(tool.id);
            RECT client{};
            if (whole == window && GetClientRect(whole, &client) && PtInRect(&client, point)) {
                return &tool;
            }
        } else if (tool.window == window && PtInRect(&tool.rect, point)) {
            return &tool;
        }
    }
    return nullptr;
}

bool Tooltip::pointerOn(const Tool& tool) const {
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND window = (tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.window;
    if (!IsWindow(window) || !ScreenToClient(window, &cursor)) {
        return false;
    }
    RECT area = tool.rect;
    if (tool.flags & TTF_IDISHWND) {
        GetClientRect(window, &area);
    }
    return PtInRect(&area, cursor) != 0;
}

void Tooltip::relay(const MSG* msg) {
    if (msg == nullptr || !isMouseMessage(msg->message) || !active_) {
        return;
    }
    const POINT point{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    const Tool* tool = toolAt(msg->hwnd, point);
    const bool same = tool != nullptr && tool->window == hotWindow_ && tool->id == hotId_;
    if (msg->message != WM_MOUSEMOVE) {
        // A click ends the tip; the tool stays spent until the pointer moves to another.
        hide();
        hotSpent_ = same || tool != nullptr;
        hotWindow_ = tool ? tool->window : nullptr;
        hotId_ = tool ? tool->id : 0;
        return;
    }
    if (same) {
        if (!shown_ && !hotSpent_) {
            SetTimer(window_, kShowTimer, initialDelay_, nullptr);
        }
        return;
    }
    const bool wasShown = shown_;
    hide();
    hotSpent_ = false;
    hotWindow_ = tool ? tool->window : nullptr;
    hotId_ = tool ? tool->id : 0;
    if (tool != nullptr) {
        SetTimer(window_, kShowTimer, wasShown ? reshowDelay_ : initialDelay_, nullptr);
        SetTimer(window_, kWatchTimer, kWatchInterval, nullptr);
    }
}

void Tooltip::timer(UINT_PTR id) {
    const Tool* hot = find(hotWindow_, hotId_);
    if (hot == nullptr || !pointerOn(*hot)) {
        hide();
        hotWindow_ = nullptr;
        hotId_ = 0;
        return;
    }
    if (id == kShowTimer) {
        KillTimer(window_, kShowTimer);
        show();
    } else if (id == kAutopopTimer) {
        hide();
        hotSpent_ = true;
        SetTimer(window_, kWatchTimer, kWatchInterval, nullptr);
    }
}

void Tooltip::show() {
    const Tool* tool = find(hotWindow_, hotId_);
    if (tool == nullptr || tool->text.empty() || !active_) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    fitToText(cursor);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    shown_ = true;
    InvalidateRect(window_, nullptr, TRUE);
    SetTimer(window_, kAutopopTimer, autopopDelay_, nullptr);
    SetTimer(window_, kWatchTimer, kWatchInterval, nullptr);
    notifyTool(*tool, TTN_SHOW);
}

void Tooltip::hide() {
    KillTimer(window_, kShowTimer);
    KillTimer(window_, kAutopopTimer);
    KillTimer(window_, kWatchTimer);
    if (!shown_) {
        return;
    }
    shown_ = false;
    ShowWindow(window_, SW_HIDE);
    if (const Tool* tool = find(hotWindow_, hotId_)) {
        notifyTool(*tool, TTN_POP);
    }
}

void Tooltip::fitToText(POINT at) {
    const Tool* tool = find(hotWindow_, hotId_);
    if (tool == nullptr) {
        return;
    }
    const SIZE text = measureText(window_, font_, tool->text);
    const int width = text.cx + 2 * kMargin + 2;
    const int height = text.cy + 2 * kMargin + 2;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int x = std::clamp<int>(at.x, 0, std::max(screenWidth - width, 0));
    int y = at.y + kBelowPointer;
    if (y + height > screenHeight) {
        y = std::max<int>(at.y - height, 0);
    }
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tooltip::notifyTool(const Tool& tool, UINT code) {
    NMHDR header{};
    header.hwndFrom = window_;
    header.idFrom = tool.id;
    header.code = code;
    if (IsWindow(tool.window)) {
        SendMessageW(tool.window, WM_NOTIFY, static_cast<WPARAM>(tool.id),
                     reinterpret_cast<LPARAM>(&header));
    }
}

void Tooltip::paint(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    const Tool* tool = find(hotWindow_, hotId_);
    if (tool == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(dc, controlFont(font_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT text = client;
    InflateRect(&text, -(kMargin + 1), -(kMargin + 1));
    DrawTextW(dc, tool->text.c_str(), static_cast<int>(tool->text.size()), &text,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    SelectObject(dc, previous);
}

} // namespace sv::comctl
