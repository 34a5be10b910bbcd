#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

// A window of the host: the main frame, and later the dialogs and their controls.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    HWND m_hWnd = nullptr;
};

#pragma GCC visibility pop
