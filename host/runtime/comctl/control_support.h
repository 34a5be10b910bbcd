#pragma once

#include <string>

#include "user/paint.h"
#include "user/window.h"

namespace sv::comctl {

// Longest text an item, a column or a tool keeps; longer texts are cut.
constexpr std::size_t kMaxItemText = 1023;

// Fills in the header and sends WM_NOTIFY to the control's parent; answers the parent's result.
LRESULT notifyParent(HWND control, UINT code, NMHDR* header);

// A caller's text, read no further than kMaxItemText characters; empty for null or a
// text-callback marker.
std::wstring readText(LPCWSTR text);
// Copies into a caller's buffer of size characters (terminated) and answers the characters
// copied; nothing for a null buffer or size below 1.
int copyText(const std::wstring& text, LPWSTR buffer, int size);

// Text width and height in the control's font.
SIZE measureText(HWND window, HFONT font, const std::wstring& text);
// The font a control draws with: the one set with WM_SETFONT, else the default GUI font.
HFONT controlFont(HFONT font);

// Answers WM_PAINT: paint(dc) between BeginPaint and EndPaint.
template <class Paint>
LRESULT paintWindow(HWND window, Paint&& paint) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (dc) {
        paint(dc);
    }
    EndPaint(window, &ps);
    return 0;
}

// The messages list and tree views answer alike: their font, the focus notifications, the dialog
// code and erasing (their painting covers the client area). False for any other message.
bool answerCommonMessage(HWND control, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result);

// Sends the control WM_CONTEXTMENU for a point of its client area, as a right click that the
// parent left unanswered does.
void offerContextMenu(HWND control, POINT client);

} // namespace sv::comctl
