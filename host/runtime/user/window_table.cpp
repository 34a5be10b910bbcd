#include "user/window_table.h"

#include "user/dialog_internal.h"
#include "user/handle_table.h"

namespace sv::user {

Window::Window() = default;
Window::~Window() = default;

namespace {

HandleTable<Window, HWND>& windows() {
    static HandleTable<Window, HWND> table;
    return table;
}

} // namespace

Window* findWindow(HWND window) {
    return windows().find(window);
}

HWND addWindow(std::unique_ptr<Window> window) {
    Window* added = window.get();
    added->handle = windows().add(std::move(window));
    return added->handle;
}

void removeWindow(HWND window) {
    windows().remove(window);
}

std::vector<HWND>& topLevelWindows() {
    static std::vector<HWND> list;
    return list;
}

RECT screenRect(const Window& window) {
    RECT rect = window.rect;
    for (const Window* parent = isChild(window) ? findWindow(window.parent) : nullptr; parent;
         parent = isChild(*parent) ? findWindow(parent->parent) : nullptr)
        OffsetRect(&rect, parent->rect.left, parent->rect.top);
    return rect;
}

} // namespace sv::user
