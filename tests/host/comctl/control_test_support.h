#pragma once

#include <functional>
#include <vector>

#include "comctl/commctrl.h"
#include "gdi/gdi.h"
#include "user/user.h"

namespace comctl_test {

// What the test parent window heard in WM_NOTIFY, and how it answers.
struct Notification {
    UINT code;
    int item;           // iItem of list view notifications, -1 otherwise
    UINT newState;      // uNewState of LVN_ITEMCHANGED
    HTREEITEM treeItem; // itemNew of tree view notifications
    UINT action;        // action of tree view notifications
};

struct ParentLog {
    std::vector<Notification> notifications;
    // Answers a notification; 0 when unset.
    std::function<LRESULT(NMHDR*)> answer;
    int count(UINT code) const;
    const Notification* last(UINT code) const;
};

ParentLog& parentLog();

// A visible top-level window at (0, 0) that logs its notifications (the log starts empty),
// with common controls registered.
HWND createParent(int width = 400, int height = 300);
// Takes and dispatches every queued message and input event.
void pumpMessages();
// A point of a child's client area on the screen.
POINT onScreen(HWND window, POINT client);
POINT centreOf(HWND window, const RECT& clientRect);
void click(HWND window, POINT client, SvMouseButton button = SvMouseButton::left);
void doubleClick(HWND window, POINT client);
void pressKey(UINT key);

// Pixels of a snapshot inside a rectangle that match.
int countPixels(SvSurface* surface, const RECT& area, const std::function<bool(COLORREF)>& match);

} // namespace comctl_test
