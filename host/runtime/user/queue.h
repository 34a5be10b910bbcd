#pragma once

#include "user/messages.h"

namespace sv::user {

// Which messages a loop takes: all when window is null and the range is 0..0.
struct MessageFilter {
    HWND window = nullptr;
    UINT first = 0;
    UINT last = 0;
    bool accepts(HWND target, UINT message) const;
};

// The next message: posted ones first, then input, then due timers, then painting. With wait,
// asks the screen for input while there is none; false when nothing came.
bool nextMessage(MSG& msg, const MessageFilter& filter, bool remove, bool wait);

// The sources nextMessage draws on, each answering false when it has nothing for the filter.
bool takeInput(MSG& msg, const MessageFilter& filter, bool remove);
bool takeTimer(MSG& msg, const MessageFilter& filter, bool remove);
bool takePaint(MSG& msg, const MessageFilter& filter);

// Asks the screen for input on behalf of the innermost modal loop; false when none will come.
bool waitForInput();

// The window manager's clock.
DWORD now();

// A modal loop runs for a window while this lives.
class ModalScope {
public:
    explicit ModalScope(HWND window);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND m_window;
};

} // namespace sv::user
