#pragma once

#include "user/types.h"

#pragma GCC visibility push(default)

// A screen is where top-level windows live and where input comes from. The window manager knows
// this one interface; the host program (or a test) chooses the screen.
class SvScreen {
public:
    virtual ~SvScreen();
    // A modal loop has worked off every message and waits; modalWindow is the window it runs
    // for (a dialog, a popup menu's window, a message box). The screen delivers input with the
    // svInput functions and answers true, or answers false when no input will ever come: the
    // loop then ends as if cancelled (a dialog with -1, a menu with no choice).
    virtual bool waitForInput(HWND modalWindow) = 0;
    // A top-level window was shown or hidden.
    virtual void windowShown(HWND window);
    virtual void windowHidden(HWND window);
    // The screen's size in pixels; 1024 by 768 unless the screen says otherwise.
    virtual SIZE size() const;
};

// Installs a screen (null: the headless one, which has no input) and answers the one before.
SvScreen* svSetScreen(SvScreen* screen);
SvScreen* svScreen();

// The modal loops now running, outermost first: svModalWindow(svModalDepth() - 1) is the one
// that waits. A loop for a window that no longer exists is not counted.
int svModalDepth();
HWND svModalWindow(int level);

// A modal loop of its own (a class library's, running GetMessageW) says for which window it
// runs, so that it counts above and the screen is told that window while it waits. Leaving
// takes the innermost entry for the window.
void svEnterModalLoop(HWND window);
void svLeaveModalLoop(HWND window);

// Synthetic input. Events queue behind each other as a device's would and become messages as a
// message loop takes them: a mouse event goes to the window holding the capture, else to the
// window under the point (after WM_SETCURSOR); key events go to the window with the focus.
// Mouse positions are screen coordinates.
enum class SvMouseButton { left, right };
void svInputMouseMove(POINT screenPoint);
void svInputMouseButton(SvMouseButton button, bool down, POINT screenPoint);
// The second press of a double click: WM_LBUTTONDBLCLK (WM_RBUTTONDBLCLK) for a window whose
// class has CS_DBLCLKS, a plain press otherwise. A double click is down, up, this, up.
void svInputMouseDoubleClick(SvMouseButton button, POINT screenPoint);
// The wheel turned by `delta` (WHEEL_DELTA a notch, forward positive) with the pointer at the
// point: WM_MOUSEWHEEL to the window holding the capture, else to the one under the point.
void svInputMouseWheel(int delta, POINT screenPoint);
void svInputKey(UINT virtualKey, bool down);
void svInputChar(wchar_t character);
// Drops input that no loop has taken yet.
void svDiscardInput();
bool svHasPendingInput();

// Conveniences over the above.
// The screen point at the centre of a window's client area.
POINT svWindowCentre(HWND window);
// Moves the pointer over the window's centre, then presses and releases there.
void svInputClick(HWND window, SvMouseButton button = SvMouseButton::left);
void svInputKeyPress(UINT virtualKey);
// One WM_CHAR a character.
void svInputText(const wchar_t* text);

// The window manager's clock in milliseconds (GetTickCount); timers come due as it moves.
void svAdvanceClock(DWORD milliseconds);

#pragma GCC visibility pop
