#include "user/screen.h"
#include "user/queue.h"
#include "user/window.h"

#include <algorithm>
#include <vector>

using namespace sv::user;

namespace {

// Without a screen of its own the host has no input: every modal loop ends at once.
class HeadlessScreen : public SvScreen {
public:
    bool waitForInput(HWND) override { return false; }
};

HeadlessScreen g_headless;
SvScreen* g_screen = &g_headless;

std::vector<HWND>& modalWindows() {
    static std::vector<HWND> list;
    return list;
}

std::vector<HWND> liveModalWindows() {
    std::vector<HWND> live;
    for (HWND window : modalWindows())
        if (IsWindow(window))
            live.push_back(window);
    return live;
}

} // namespace

SvScreen::~SvScreen() = default;

void SvScreen::windowShown(HWND) {}

void SvScreen::windowHidden(HWND) {}

SIZE SvScreen::size() const {
    return {1024, 768};
}

SvScreen* svSetScreen(SvScreen* screen) {
    SvScreen* old = g_screen == &g_headless ? nullptr : g_screen;
    g_screen = screen ? screen : &g_headless;
    return old;
}

SvScreen* svScreen() {
    return g_screen;
}

int svModalDepth() {
    return static_cast<int>(liveModalWindows().size());
}

HWND svModalWindow(int level) {
    const std::vector<HWND> live = liveModalWindows();
    if (level < 0 || level >= static_cast<int>(live.size()))
        return nullptr;
    return live[static_cast<std::size_t>(level)];
}

void svEnterModalLoop(HWND window) {
    modalWindows().push_back(window);
}

void svLeaveModalLoop(HWND window) {
    auto& list = modalWindows();
    auto found = std::find(list.rbegin(), list.rend(), window);
    if (found != list.rend())
        list.erase(std::next(found).base());
}

namespace sv::user {

ModalScope::ModalScope(HWND window) : m_window(window) {
    svEnterModalLoop(window);
}

ModalScope::~ModalScope() {
    svLeaveModalLoop(m_window);
}

bool waitForInput() {
    const std::vector<HWND> live = liveModalWindows();
    return g_screen->waitForInput(live.empty() ? nullptr : live.back());
}

void notifyShown(HWND window, bool shown) {
    if (shown)
        g_screen->windowShown(window);
    else
        g_screen->windowHidden(window);
}

} // namespace sv::user
