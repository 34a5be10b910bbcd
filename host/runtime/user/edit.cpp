#include "user/control_state.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/metrics.h"
#include "user/system_classes.h"
#include "user/window_table.h"

#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"

#include <algorithm>
#include <cwctype>

namespace sv::user {
namespace {

constexpr std::size_t kDefaultLimit = 30000;
constexpr int kMargin = 2;

struct EditState {
    HFONT font = nullptr;
    std::size_t anchor = 0; // the selection runs from anchor to caret
    std::size_t caret = 0;
    std::size_t limit = kDefaultLimit;
    bool modified = false;
    bool focused = false;
};

EditState& stateOf(HWND edit) {
    return *controlState<EditState>(edit);
}

std::wstring& textOf(HWND edit) {
    return findWindow(edit)->text;
}

DWORD styleOf(HWND edit) {
    return static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE));
}

std::size_t selStart(const EditState& s) {
    return std::min(s.anchor, s.caret);
}

std::size_t selEnd(const EditState& s) {
    return std::max(s.anchor, s.caret);
}

void changed(HWND edit) {
    stateOf(edit).modified = true;
    InvalidateRect(edit, nullptr, TRUE);
    notifyParent(edit, EN_UPDATE);
    if (IsWindow(edit))
        notifyParent(edit, EN_CHANGE);
}

// Replaces the selection; false when the limit leaves no room for all of it.
bool replaceSelection(HWND edit, const std::wstring& insert) {
    EditState& s = stateOf(edit);
    std::wstring& text = textOf(edit);
    const std::size_t start = selStart(s);
    const std::size_t end = selEnd(s);
    const std::size_t room = s.limit - std::min(s.limit, text.size() - (end - start));
    const std::wstring fitting = insert.substr(0, room);
    text.replace(start, end - start, fitting);
    s.anchor = s.caret = start + fitting.size();
    if (!fitting.empty() || start != end)
        changed(edit);
    if (fitting.size() < insert.size()) {
        if (IsWindow(edit))
            notifyParent(edit, EN_MAXTEXT);
        return false;
    }
    return true;
}

void typeCharacter(HWND edit, wchar_t ch) {
    const DWORD style = styleOf(edit);
    EditState& s = stateOf(edit);
    if (ch == 1) { // Ctrl+A
        s.anchor = 0;
        s.caret = textOf(edit).size();
        InvalidateRect(edit, nullptr, TRUE);
        return;
    }
    if (style & ES_READONLY) {
        MessageBeep(0);
        return;
    }
    if (ch == L'\b') {
        if (selStart(s) == selEnd(s)) {
            if (s.caret == 0)
                return;
            s.anchor = s.caret - 1;
        }
        replaceSelection(edit, L"");
        return;
    }
    if (ch < L' ')
        return;
    if ((style & ES_NUMBER) && !std::iswdigit(ch)) {
        MessageBeep(0);
        return;
    }
    if (style & ES_UPPERCASE)
        ch = static_cast<wchar_t>(std::towupper(ch));
    if (style & ES_LOWERCASE)
        ch = static_cast<wchar_t>(std::towlower(ch));
    if (!replaceSelection(edit, std::wstring(1, ch)))
        MessageBeep(0);
}

void moveCaret(HWND edit, std::size_t to) {
    EditState& s = stateOf(edit);
    s.caret = std::min(to, textOf(edit).size());
    if (!(GetKeyState(VK_SHIFT) & 0x8000))
        s.anchor = s.caret;
    InvalidateRect(edit, nullptr, TRUE);
}

void pressKey(HWND edit, WPARAM key) {
    EditState& s = stateOf(edit);
    switch (key) {
    case VK_LEFT:
        moveCaret(edit, s.caret == 0 ? 0 : s.caret - 1);
        break;
    case VK_RIGHT:
        moveCaret(edit, s.caret + 1);
        break;
    case VK_HOME:
        moveCaret(edit, 0);
        break;
    case VK_END:
        moveCaret(edit, textOf(edit).size());
        break;
    case VK_DELETE:
        if (styleOf(edit) & ES_READONLY) {
            MessageBeep(0);
            break;
        }
        if (selStart(s) == selEnd(s)) {
            if (s.caret >= textOf(edit).size())
                break;
            s.anchor = s.caret + 1;
        }
        replaceSelection(edit, L"");
        break;
    default:
        break;
    }
}

std::wstring shownText(HWND edit) {
    const std::wstring& text = textOf(edit);
    return (styleOf(edit) & ES_PASSWORD) ? std::wstring(text.size(), L'*') : text;
}

int textWidth(HDC dc, const std::wstring& text, std::size_t count) {
    SIZE size{};
    if (count > 0)
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(count), &size);
    return size.cx;
}

// The character boundary nearest a point of the client area.
std::size_t positionAt(HWND edit, int x) {
    HDC dc = GetDC(edit);
    const EditState& s = stateOf(edit);
    HGDIOBJ old = s.font ? SelectObject(dc, s.font) : nullptr;
    const std::wstring text = shownText(edit);
    std::size_t best = 0;
    for (std::size_t i = 0; i <= text.size(); ++i)
        if (kMargin + textWidth(dc, text, i) <= x)
            best = i;
    if (old)
        SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return best;
}

void drawEdit(HWND edit, HDC dc) {
    const EditState& s = stateOf(edit);
    const DWORD style = styleOf(edit);
    const bool enabled = IsWindowEnabled(edit);
    RECT rect = clientRect(edit);
    HBRUSH brush = controlBrush(
        edit, dc, (enabled && !(style & ES_READONLY)) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
    FillRect(dc, &rect, brush);
    if ((style & WS_BORDER) || (GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
        DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    HGDIOBJ oldFont = s.font ? SelectObject(dc, s.font) : nullptr;
    if (!enabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = shownText(edit);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int y = rect.top + std::max(0, (rect.bottom - rect.top - metrics.tmHeight) / 2);
    int x = rect.left + kMargin;
    const int width = textWidth(dc, text, text.size());
    if (style & ES_RIGHT)
        x = rect.right - kMargin - width;
    else if (style & ES_CENTER)
        x = rect.left + (rect.right - rect.left - width) / 2;
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    if (s.focused && enabled) {
        const std::size_t from = selStart(s);
        const std::size_t to = selEnd(s);
        if (from != to) {
            const int left = x + textWidth(dc, text, from);
            RECT selected{left, y, x + textWidth(dc, text, to), y + metrics.tmHeight};
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            ExtTextOutW(dc, left, y, ETO_OPAQUE, &selected, text.c_str() + from,
                        static_cast<UINT>(to - from), nullptr);
        }
        const int caretX = x + textWidth(dc, text, s.caret);
        RECT caret{caretX, y, caretX + 1, y + metrics.tmHeight};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    if (oldFont)
        SelectObject(dc, oldFont);
}

void setSelection(HWND edit, LPARAM from, LPARAM to) {
    EditState& s = stateOf(edit);
    const std::size_t size = textOf(edit).size();
    if (from < 0) {
        s.anchor = s.caret;
    } else {
        s.anchor = std::min(static_cast<std::size_t>(from), size);
        s.caret = to < 0 ? size : std::min(static_cast<std::size_t>(to), size);
    }
    InvalidateRect(edit, nullptr, TRUE);
}

} // namespace

LRESULT editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* found = stateFor<EditState>(edit, message);
    if (!found)
        return DefWindowProcW(edit, message, wParam, lParam);
    EditState& s = *found;
    switch (message) {
    case WM_NCDESTROY:
        destroyControlState<EditState>(edit);
        return 0;
    case WM_NCCREATE: {
        const LRESULT result = DefWindowProcW(edit, message, wParam, lParam);
        std::wstring& text = textOf(edit);
        if (text.size() > s.limit)
            text.resize(s.limit);
        return result;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (styleOf(edit) & ES_MULTILINE)
            code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_SETFONT:
        return setControlFont(edit, s.font, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTEXT: {
        std::wstring text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        if (text.size() > s.limit)
            text.resize(s.limit);
        textOf(edit) = text;
        s.anchor = s.caret = 0;
        changed(edit);
        if (IsWindow(edit))
            stateOf(edit).modified = false;
        return TRUE;
    }
    case WM_CHAR:
        typeCharacter(edit, static_cast<wchar_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        pressKey(edit, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != edit)
            SetFocus(edit);
        if (IsWindow(edit)) {
            const std::size_t at = positionAt(edit, GET_X_LPARAM(lParam));
            stateOf(edit).anchor = stateOf(edit).caret = at;
            InvalidateRect(edit, nullptr, TRUE);
        }
        return 0;
    case WM_SETFOCUS:
        s.focused = true;
        InvalidateRect(edit, nullptr, TRUE);
        notifyParent(edit, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s.focused = false;
        InvalidateRect(edit, nullptr, TRUE);
        notifyParent(edit, EN_KILLFOCUS);
        return 0;
    case EM_GETSEL: {
        const auto from = static_cast<DWORD>(selStart(s));
        const auto to = static_cast<DWORD>(selEnd(s));
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = from;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = to;
        return MAKELRESULT(std::min<DWORD>(from, 0xFFFF), std::min<DWORD>(to, 0xFFFF));
    }
    case EM_SETSEL:
        setSelection(edit, static_cast<LPARAM>(static_cast<int>(wParam)), lParam);
        return 0;
    case EM_REPLACESEL:
        replaceSelection(edit, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"");
        return 0;
    case EM_LIMITTEXT:
        s.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<std::size_t>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s.limit);
    case EM_GETMODIFY:
        return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s.modified = wParam != 0;
        return 0;
    case EM_SETREADONLY: {
        const DWORD style = styleOf(edit);
        SetWindowLongW(edit, GWL_STYLE,
                       static_cast<LONG>(wParam ? (style | ES_READONLY)
                                                : (style & ~static_cast<DWORD>(ES_READONLY))));
        InvalidateRect(edit, nullptr, TRUE);
        return TRUE;
    }
    case WM_ENABLE:
        InvalidateRect(edit, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return paintControl(edit, drawEdit);
    default:
        return DefWindowProcW(edit, message, wParam, lParam);
    }
}

} // namespace sv::user
