#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/menu.h"
#include "user/system_classes.h"
#include "user/window_table.h"

#include "crt/crt.h"

#include <algorithm>
#include <cwchar>
#include <list>

namespace sv::user {
namespace {

// A list, so that classes keep their address while others come and go.
std::list<WindowClass>& classes() {
    static std::list<WindowClass> list;
    return list;
}

// The ordinal names of the system classes, and the atoms RegisterClassW answers.
LPCWSTR ordinalClassName(LPCWSTR name) {
    if (!IS_INTRESOURCE(name))
        return name;
    const auto atom = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
    switch (atom) {
    case 0x8000:
        return kPopupMenuClass;
    case 0x8002:
        return kDialogClass;
    default:
        for (const WindowClass& c : classes())
            if (c.atom == atom)
                return c.name.c_str();
        return nullptr;
    }
}

WORD addClass(const WNDCLASSW& info) {
    LPCWSTR name = ordinalClassName(info.lpszClassName);
    if (!name || !*name || !info.lpfnWndProc || info.cbWndExtra < 0 || info.cbWndExtra > 4096 ||
        findClass(name))
        return 0;
    // Atoms are never given twice, so an unregistered class's atom names nothing later.
    static WORD nextAtom = 0xC000;
    if (nextAtom == 0xFFFF)
        return 0;
    WindowClass& added = classes().emplace_back();
    added.name = name;
    added.info = info;
    added.info.lpszClassName = added.name.c_str();
    added.info.lpszMenuName = nullptr;
    added.atom = ++nextAtom;
    return added.atom;
}

void addSystemClass(LPCWSTR name, WNDPROC proc, UINT style, int extra, LPCWSTR cursor) {
    WNDCLASSW info{};
    info.style = style | CS_GLOBALCLASS;
    info.lpfnWndProc = proc;
    info.cbWndExtra = extra;
    info.hCursor = LoadCursorW(nullptr, cursor);
    info.lpszClassName = name;
    addClass(info);
}

} // namespace

WindowClass* findClass(LPCWSTR name) {
    ensureSystemClasses();
    name = ordinalClassName(name);
    if (!name)
        return nullptr;
    auto found = std::find_if(classes().begin(), classes().end(), [name](const WindowClass& c) {
        return _wcsicmp(c.name.c_str(), name) == 0;
    });
    return found == classes().end() ? nullptr : &*found;
}

void ensureSystemClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    constexpr int pointer = static_cast<int>(sizeof(void*));
    addSystemClass(WC_BUTTONW, buttonProc, CS_DBLCLKS | CS_PARENTDC, pointer, IDC_ARROW);
    addSystemClass(WC_STATICW, staticProc, CS_DBLCLKS | CS_PARENTDC, pointer, IDC_ARROW);
    addSystemClass(WC_EDITW, editProc, CS_DBLCLKS | CS_PARENTDC, pointer, IDC_IBEAM);
    addSystemClass(WC_COMBOBOXW, comboBoxProc, CS_DBLCLKS | CS_PARENTDC, pointer, IDC_ARROW);
    addSystemClass(WC_COMBOLBOXW, comboListProc, CS_SAVEBITS, pointer, IDC_ARROW);
    addSystemClass(kDialogClass, DefDlgProcW, CS_SAVEBITS | CS_DBLCLKS, DLGWINDOWEXTRA, IDC_ARROW);
    addSystemClass(kPopupMenuClass, popupMenuProc, CS_SAVEBITS | CS_DBLCLKS, pointer, IDC_ARROW);
}

} // namespace sv::user

using namespace sv::user;

WORD RegisterClassW(const WNDCLASSW* windowClass) {
    ensureSystemClasses();
    return windowClass ? addClass(*windowClass) : 0;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    WindowClass* found = findClass(className);
    if (!found || found->windows > 0 || (found->info.style & CS_GLOBALCLASS))
        return FALSE;
    classes().remove_if([found](const WindowClass& c) { return &c == found; });
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* windowClass) {
    WindowClass* found = findClass(className);
    if (!found || !windowClass)
        return FALSE;
    *windowClass = found->info;
    return TRUE;
}

int GetClassNameW(HWND window, LPWSTR buffer, int size) {
    Window* w = findWindow(window);
    if (!w || !buffer || size <= 0)
        return 0;
    const std::wstring& name = w->windowClass->name;
    const int copied = std::min(static_cast<int>(name.size()), size - 1);
    std::wmemcpy(buffer, name.c_str(), static_cast<std::size_t>(copied));
    buffer[copied] = 0;
    return copied;
}
