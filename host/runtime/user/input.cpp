#include "user/input.h"
#include "user/metrics.h"
#include "user/queue.h"
#include "user/screen.h"
#include "user/window_table.h"

#include <algorithm>
#include <array>
#include <deque>

using namespace sv::user;

namespace {

enum class Kind { move, button, doubleClick, wheel, key, character };

struct RawInput {
    Kind kind;
    SvMouseButton button;
    bool down;
    POINT point;
    UINT key; // the wheel's delta for a wheel event
};

std::deque<RawInput>& rawInput() {
    static std::deque<RawInput> queue;
    return queue;
}

std::array<bool, 256> g_keys{};

WPARAM mouseKeyState() {
    WPARAM state = 0;
    if (g_keys[VK_LBUTTON])
        state |= MK_LBUTTON;
    if (g_keys[VK_RBUTTON])
        state |= MK_RBUTTON;
    if (g_keys[VK_SHIFT])
        state |= MK_SHIFT;
    if (g_keys[VK_CONTROL])
        state |= MK_CONTROL;
    return state;
}

UINT mouseMessage(const RawInput& input, HWND target) {
    const bool left = input.button == SvMouseButton::left;
    switch (input.kind) {
    case Kind::move:
        return WM_MOUSEMOVE;
    case Kind::wheel:
        return WM_MOUSEWHEEL;
    case Kind::doubleClick: {
        Window* w = findWindow(target);
        if (w && (w->windowClass->info.style & CS_DBLCLKS))
            return left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
        return left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    }
    default:
        if (left)
            return input.down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        return input.down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    }
}

// A disabled window takes no mouse input; its enabled parent does, a disabled top-level window
// (the owner of a modal dialog) nobody.
HWND enabledTarget(HWND window) {
    while (window && !IsWindowEnabled(window)) {
        Window* w = findWindow(window);
        window = (w && isChild(*w)) ? w->parent : nullptr;
    }
    return window;
}

bool mouseToMessage(const RawInput& input, MSG& msg) {
    SetCursorPos(input.point.x, input.point.y);
    const bool buttonEvent = input.kind != Kind::move && input.kind != Kind::wheel;
    if (buttonEvent)
        g_keys[input.button == SvMouseButton::left ? VK_LBUTTON : VK_RBUTTON] =
            input.kind == Kind::doubleClick || input.down;
    HWND target = GetCapture();
    if (!target) {
        target = enabledTarget(WindowFromPoint(input.point));
        if (!target) {
            if (buttonEvent && input.down)
                MessageBeep(0);
            return false;
        }
    }
    msg.message = mouseMessage(input, target);
    if (!GetCapture() && input.kind != Kind::wheel) {
        const LRESULT hit =
            SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(input.point.x, input.point.y));
        SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(static_cast<WORD>(hit), msg.message));
        if (!IsWindow(target))
            return false;
    }
    msg.hwnd = target;
    if (input.kind == Kind::wheel) {
        // The wheel's point stays on the screen, as the message carries it.
        msg.wParam = MAKEWPARAM(mouseKeyState(), static_cast<WORD>(input.key));
        msg.lParam =
            MAKELPARAM(static_cast<short>(input.point.x), static_cast<short>(input.point.y));
        return true;
    }
    POINT client = input.point;
    ScreenToClient(target, &client);
    msg.wParam = mouseKeyState();
    msg.lParam = MAKELPARAM(static_cast<short>(client.x), static_cast<short>(client.y));
    return true;
}

bool keyToMessage(const RawInput& input, MSG& msg) {
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (input.kind == Kind::key)
        g_keys[input.key & 0xFF] = input.down;
    if (!target)
        return false;
    msg.hwnd = target;
    if (input.kind == Kind::character) {
        msg.message = WM_CHAR;
        msg.wParam = input.key;
        msg.lParam = 1;
        return true;
    }
    msg.message = input.down ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = input.key;
    msg.lParam = input.down ? 1 : static_cast<LPARAM>(0xC0000001u);
    return true;
}

void queueInput(const RawInput& input) {
    rawInput().push_back(input);
}

} // namespace

namespace sv::user {

bool takeInput(MSG& msg, const MessageFilter& filter, bool remove) {
    auto& queue = rawInput();
    while (!queue.empty()) {
        // Input becomes a message only when it is taken, so a peek leaves it queued.
        if (!remove)
            return false;
        const RawInput input = queue.front();
        queue.pop_front();
        msg = {};
        msg.time = now();
        msg.pt = input.point;
        const bool made = (input.kind == Kind::key || input.kind == Kind::character)
                              ? keyToMessage(input, msg)
                              : mouseToMessage(input, msg);
        if (!made)
            continue;
        GetCursorPos(&msg.pt);
        if (filter.accepts(msg.hwnd, msg.message))
            return true;
    }
    return false;
}

} // namespace sv::user

short GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return g_keys[static_cast<std::size_t>(virtualKey)] ? static_cast<short>(0x8000) : 0;
}

short GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

void svInputMouseMove(POINT screenPoint) {
    queueInput({Kind::move, SvMouseButton::left, false, screenPoint, 0});
}

void svInputMouseButton(SvMouseButton button, bool down, POINT screenPoint) {
    queueInput({Kind::button, button, down, screenPoint, 0});
}

void svInputMouseDoubleClick(SvMouseButton button, POINT screenPoint) {
    queueInput({Kind::doubleClick, button, true, screenPoint, 0});
}

void svInputMouseWheel(int delta, POINT screenPoint) {
    const auto clamped = static_cast<short>(std::clamp(delta, -32768, 32767));
    queueInput({Kind::wheel, SvMouseButton::left, false, screenPoint,
                static_cast<UINT>(static_cast<WORD>(clamped))});
}

int svWheelTopRow(int topRow, int rowCount, int rowsShown, WPARAM wParam) {
    constexpr int kRowsPerNotch = 3;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    int rows = -delta * kRowsPerNotch / WHEEL_DELTA;
    if (rows == 0 && delta != 0)
        rows = delta > 0 ? -1 : 1;
    return std::clamp(topRow + rows, 0, std::max(rowCount - std::max(rowsShown, 1), 0));
}

void svInputKey(UINT virtualKey, bool down) {
    POINT point;
    GetCursorPos(&point);
    queueInput({Kind::key, SvMouseButton::left, down, point, virtualKey});
}

void svInputChar(wchar_t character) {
    POINT point;
    GetCursorPos(&point);
    queueInput({Kind::character, SvMouseButton::left, true, point, static_cast<UINT>(character)});
}

void svDiscardInput() {
    rawInput().clear();
}

bool svHasPendingInput() {
    return !rawInput().empty();
}

POINT svWindowCentre(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    POINT centre{(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2};
    ClientToScreen(window, &centre);
    return centre;
}

void svInputClick(HWND window, SvMouseButton button) {
    const POINT centre = svWindowCentre(window);
    svInputMouseMove(centre);
    svInputMouseButton(button, true, centre);
    svInputMouseButton(button, false, centre);
}

void svInputKeyPress(UINT virtualKey) {
    svInputKey(virtualKey, true);
    svInputKey(virtualKey, false);
}

void svInputText(const wchar_t* text) {
    for (; text && *text; ++text)
        svInputChar(*text);
}
