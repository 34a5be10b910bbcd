#include "user/queue.h"
#include "user/screen.h"
#include "user/window.h"

#include <algorithm>
#include <vector>

using namespace sv::user;

namespace {

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT elapse;
    DWORD due;
    TIMERPROC proc;
};

std::vector<Timer>& timers() {
    static std::vector<Timer> list;
    return list;
}

DWORD g_clock = 0;

} // namespace

namespace sv::user {

DWORD now() {
    return g_clock;
}

bool takeTimer(MSG& msg, const MessageFilter& filter, bool remove) {
    auto& list = timers();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const Timer& t) { return t.window && !IsWindow(t.window); }),
               list.end());
    for (Timer& timer : list) {
        if (static_cast<int>(g_clock - timer.due) < 0 || !filter.accepts(timer.window, WM_TIMER))
            continue;
        msg = {timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.proc), g_clock, {}};
        // Due timers do not pile up: one message however long the clock jumped.
        if (remove)
            timer.due = g_clock + timer.elapse;
        return true;
    }
    return false;
}

} // namespace sv::user

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (window && !IsWindow(window))
        return 0;
    elapse = std::clamp(elapse, 10u, 0x7FFFFFFFu);
    auto& list = timers();
    if (!window) {
        // A timer without a window gets an id of its own.
        static UINT_PTR next = 0x7F00;
        id = ++next;
    }
    for (Timer& timer : list)
        if (timer.window == window && timer.id == id) {
            timer = {window, id, elapse, g_clock + elapse, proc};
            return window ? 1 : id;
        }
    list.push_back({window, id, elapse, g_clock + elapse, proc});
    return window ? 1 : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& list = timers();
    auto found = std::find_if(list.begin(), list.end(), [window, id](const Timer& t) {
        return t.window == window && t.id == id;
    });
    if (found == list.end())
        return FALSE;
    list.erase(found);
    return TRUE;
}

DWORD GetTickCount() {
    return g_clock;
}

void svAdvanceClock(DWORD milliseconds) {
    g_clock += milliseconds;
}
