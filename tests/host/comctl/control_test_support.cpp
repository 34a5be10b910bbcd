#include "control_test_support.h"

#include <string>

namespace comctl_test {
namespace {

// The codes whose structure starts like NMLISTVIEW; the others carry less.
bool carriesListItem(UINT code) {
    const bool listCode = code <= LVN_FIRST && code > LVN_FIRST - 100 && code != LVN_KEYDOWN;
    return listCode || code == NM_CLICK || code == NM_DBLCLK || code == NM_RCLICK ||
           code == NM_RDBLCLK;
}

LRESULT parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    Notification note{header->code, -1, 0, nullptr, 0};
    wchar_t name[64] = {};
    GetClassNameW(header->hwndFrom, name, 64);
    const std::wstring kind = name;
    if (kind == WC_LISTVIEWW && carriesListItem(header->code)) {
        const auto* list = reinterpret_cast<NMLISTVIEW*>(lParam);
        note.item = list->iItem;
        note.newState = list->uNewState;
    } else if (kind == WC_TREEVIEWW && header->code >= TVN_DELETEITEMW &&
               header->code <= TVN_SELCHANGINGW) {
        const auto* tree = reinterpret_cast<NMTREEVIEWW*>(lParam);
        note.treeItem = tree->itemNew.hItem;
        note.action = tree->action;
    }
    parentLog().notifications.push_back(note);
    return parentLog().answer ? parentLog().answer(header) : 0;
}

} // namespace

int ParentLog::count(UINT code) const {
    int found = 0;
    for (const Notification& note : notifications) {
        found += note.code == code ? 1 : 0;
    }
    return found;
}

const Notification* ParentLog::last(UINT code) const {
    for (auto at = notifications.rbegin(); at != notifications.rend(); ++at) {
        if (at->code == code) {
            return &*at;
        }
    }
    return nullptr;
}

ParentLog& parentLog() {
    static ParentLog log;
    return log;
}

HWND createParent(int width, int height) {
    parentLog() = ParentLog{};
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = parentProc;
    windowClass.lpszClassName = L"ComctlTestParent";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"ComctlTestParent", L"Parent", WS_POPUP | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, nullptr, nullptr);
}

void pumpMessages() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

POINT onScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

POINT centreOf(HWND window, const RECT& clientRect) {
    return onScreen(window, POINT{(clientRect.left + clientRect.right) / 2,
                                  (clientRect.top + clientRect.bottom) / 2});
}

void click(HWND window, POINT client, SvMouseButton button) {
    const POINT at = onScreen(window, client);
    svInputMouseMove(at);
    svInputMouseButton(button, true, at);
    svInputMouseButton(button, false, at);
    pumpMessages();
}

void doubleClick(HWND window, POINT client) {
    const POINT at = onScreen(window, client);
    svInputMouseMove(at);
    svInputMouseButton(SvMouseButton::left, true, at);
    svInputMouseButton(SvMouseButton::left, false, at);
    svInputMouseDoubleClick(SvMouseButton::left, at);
    svInputMouseButton(SvMouseButton::left, false, at);
    pumpMessages();
}

void pressKey(UINT key) {
    svInputKeyPress(key);
    pumpMessages();
}

int countPixels(SvSurface* surface, const RECT& area, const std::function<bool(COLORREF)>& match) {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            found += match(svSurfacePixel(surface, x, y)) ? 1 : 0;
        }
    }
    return found;
}

} // namespace comctl_test
