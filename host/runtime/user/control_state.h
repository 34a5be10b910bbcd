#pragma once

#include "user/paint.h"
#include "user/window.h"

#include <cstring>

namespace sv::user {

// A control keeps its state behind a pointer in its first extra bytes: made at WM_NCCREATE,
// freed at WM_NCDESTROY.
template <class State>
State* controlState(HWND control) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(control, 0));
}

template <class State>
void createControlState(HWND control) {
    SetWindowLongPtrW(control, 0, reinterpret_cast<LONG_PTR>(new State()));
}

template <class State>
void destroyControlState(HWND control) {
    delete controlState<State>(control);
    SetWindowLongPtrW(control, 0, 0);
}

// The state of a control for the message at hand, made when the message is WM_NCCREATE; null
// before it and after WM_NCDESTROY, when the control leaves messages to DefWindowProcW.
template <class State>
State* stateFor(HWND control, UINT message) {
    if (message == WM_NCCREATE)
        createControlState<State>(control);
    return controlState<State>(control);
}

// WM_COMMAND with the control's id and a notification code to its parent.
void notifyParent(HWND control, UINT code);

// The brush a control paints its background with, and the colours set into dc: the parent's
// answer to message (WM_CTLCOLORSTATIC ...), or the default one when the parent gives none.
HBRUSH controlBrush(HWND control, HDC dc, UINT message);

// The control's client rectangle.
RECT clientRect(HWND control);

// WM_PAINT through BeginPaint and EndPaint with the paint function of the control's class.
LRESULT paintControl(HWND control, void (*paint)(HWND, HDC));

// WM_SETFONT: keeps the font and redraws when lParam asks.
LRESULT setControlFont(HWND control, HFONT& font, WPARAM wParam, LPARAM lParam);

// Paints the control now, through a DC of its own, with the paint function of its class.
template <class Paint>
void paintNow(HWND control, Paint paint) {
    if (!IsWindowVisible(control))
        return;
    HDC dc = GetDC(control);
    if (dc) {
        paint(control, dc);
        ReleaseDC(control, dc);
    }
}

} // namespace sv::user
