#include "user/input.h"
#include "user/paint.h"
#include "user/queue.h"
#include "user/window_table.h"

#include <deque>

using namespace sv::user;

namespace {

std::deque<MSG>& posted() {
    static std::deque<MSG> queue;
    return queue;
}

int g_sendDepth = 0;
// A window procedure that keeps sending to itself would otherwise end in a stack overflow.
constexpr int kMaxSendDepth = 2000;
MSG g_current{};

} // namespace

namespace sv::user {

bool MessageFilter::accepts(HWND target, UINT message) const {
    if (window && target != window && !IsChild(window, target))
        return false;
    if (first == 0 && last == 0)
        return true;
    return message >= first && message <= last;
}

bool nextMessage(MSG& msg, const MessageFilter& filter, bool remove, bool wait) {
    for (;;) {
        auto& queue = posted();
        for (auto at = queue.begin(); at != queue.end();) {
            if (at->hwnd && !IsWindow(at->hwnd)) {
                at = queue.erase(at);
                continue;
            }
            if (filter.accepts(at->hwnd, at->message)) {
                msg = *at;
                if (remove)
                    queue.erase(at);
                return true;
            }
            ++at;
        }
        if (takeInput(msg, filter, remove) || takeTimer(msg, filter, remove) ||
            takePaint(msg, filter))
            return true;
        if (!wait || !waitForInput())
            return false;
    }
}

} // namespace sv::user

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc || g_sendDepth >= kMaxSendDepth)
        return 0;
    ++g_sendDepth;
    const LRESULT result = proc(window, message, wParam, lParam);
    --g_sendDepth;
    return result;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    return CallWindowProcW(w->proc, window, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window))
        return FALSE;
    MSG msg{window, message, wParam, lParam, now(), {}};
    GetCursorPos(&msg.pt);
    posted().push_back(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (!msg)
        return -1;
    if (!nextMessage(*msg, {window, filterMin, filterMax}, true, true))
        return -1;
    g_current = *msg;
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg)
        return FALSE;
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    if (!nextMessage(*msg, {window, filterMin, filterMax}, remove, false))
        return FALSE;
    if (remove)
        g_current = *msg;
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    return (msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)) ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER,
                                                 static_cast<UINT_PTR>(msg->wParam), msg->time);
        return 0;
    }
    Window* w = findWindow(msg->hwnd);
    if (!w)
        return 0;
    const WNDPROC proc = w->proc;
    const LRESULT result = CallWindowProcW(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
    // A window procedure that answers WM_PAINT without painting would be asked again forever.
    if (msg->message == WM_PAINT)
        ValidateRect(msg->hwnd, nullptr);
    return result;
}

DWORD GetMessagePos() {
    return static_cast<DWORD>(MAKELONG(g_current.pt.x, g_current.pt.y));
}

LONG GetMessageTime() {
    return static_cast<LONG>(g_current.time);
}
