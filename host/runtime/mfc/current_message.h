#pragma once

#include "user/messages.h"

class CWnd;

// The messages whose handlers run now, innermost last: Default() passes on the innermost.
struct CurrentMessage {
    CWnd* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CurrentMessageScope {
public:
    CurrentMessageScope(CWnd* window, UINT message, WPARAM wParam, LPARAM lParam);
    ~CurrentMessageScope();
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;
};

// Null outside any handler.
const CurrentMessage* currentMessage();
