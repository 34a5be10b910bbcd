#pragma once

#include "user/messages.h"
#include "win/cursor_resource.h"

#pragma GCC visibility push(default)

// Virtual-key codes.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_APPS 0x5D
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_F1 0x70
#define VK_F4 0x73

// Focus moves with WM_KILLFOCUS to the old window and WM_SETFOCUS to the new one; a disabled or
// hidden window does not take it. Answers the window that had it.
HWND SetFocus(HWND window);
HWND GetFocus();
// The top-level window that holds the focus.
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);

// While a window holds the capture, every mouse message goes to it. Losing the capture sends it
// WM_CAPTURECHANGED with the new holder.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// The state of a key as the input so far leaves it: the high bit while it is down.
short GetKeyState(int virtualKey);
short GetAsyncKeyState(int virtualKey);

// The first row a list shows after the wheel turn of a WM_MOUSEWHEEL's wParam: three rows a
// notch, towards the end when the wheel turns back (towards the user), at least one row for any
// turn, never past the last page.
int svWheelTopRow(int topRow, int rowCount, int rowsShown, WPARAM wParam);

// Cursors. System cursors are shared and never destroyed; a copy (CopyIcon) or a cursor from a
// module's resources belongs to whoever made it.
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)
#define IDC_HELP MAKEINTRESOURCEW(32651)

// A null instance names the system cursors (IDC_*); otherwise the module's cursor resources
// (RT_GROUP_CURSOR), each loaded once and shared.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HICON CopyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
BOOL DestroyIcon(HICON icon);
// Answers the cursor shown before.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The pointer's position on the screen; input events move it.
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);

// System icons for message boxes and static icon controls.
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_ERROR IDI_HAND
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_INFORMATION IDI_ASTERISK
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);

// Identifies a cursor or icon for those who show it: the system id (IDC_*, IDI_* as a number)
// for a system one, 0 otherwise; the image of one loaded from a module, null otherwise.
UINT svCursorSystemId(HCURSOR cursor);
const SvCursorImage* svCursorImage(HCURSOR cursor);

#pragma GCC visibility pop
