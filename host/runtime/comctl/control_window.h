#pragma once

#include <new>

#include "user/window.h"

namespace sv::comctl {

// The window procedure of a control class whose state lives in an object of class Control,
// made at WM_NCCREATE and kept in the window's first extra slot until WM_NCDESTROY.
template <class Control>
LRESULT controlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, 0));
    if (message == WM_NCCREATE && control == nullptr) {
        control = new (std::nothrow) Control(window);
        if (control == nullptr) {
            return FALSE;
        }
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(control));
    }
    if (control == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete control;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return control->handle(message, wParam, lParam);
}

} // namespace sv::comctl
