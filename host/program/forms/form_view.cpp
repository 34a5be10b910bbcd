#include "form_view.h"

#include "control_items.h"
#include "crt/crt.h"
#include "crt/format.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/menu.h"
#include "user/window.h"

namespace forms {

namespace {

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

bool isClass(HWND window, const wchar_t* name) {
    return _wcsicmp(className(window).c_str(), name) == 0;
}

std::wstring quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"')
            out += L"\"\"";
        else if (c == L'\n')
            out += L"\\n";
        else if (c == L'\r' || c == L'\t')
            out += L' ';
        else
            out += c;
    }
    return out + L"\"";
}

std::wstring buttonKind(DWORD style) {
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return L"check";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return L"radio";
    case BS_GROUPBOX:
        return L"group";
    default:
        return L"button";
    }
}

void addState(ControlView& view, const wchar_t* state) {
    view.state += (view.state.empty() ? L"" : L", ") + std::wstring(state);
}

void describeButton(HWND control, DWORD style, ControlView& view) {
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        addState(view, L"default");
    if (type == BS_OWNERDRAW)
        addState(view, L"owner-drawn");
    if (view.kind == L"check" || view.kind == L"radio") {
        const LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
        addState(view, check == BST_CHECKED         ? L"checked"
                       : check == BST_INDETERMINATE ? L"indeterminate"
                                                    : L"unchecked");
    }
}

void describeCombo(HWND control, ControlView& view) {
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    const LRESULT chosen = SendMessageW(control, CB_GETCURSEL, 0, 0);
    view.text.clear();
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(item.data()));
        item.resize(std::wcslen(item.c_str()));
        if (i == chosen)
            view.text = item;
        view.details.push_back(svFormat(L"%s %d %s", i == chosen ? L">" : L" ", static_cast<int>(i),
                                        quoted(item).c_str()));
    }
    if (chosen < 0)
        addState(view, L"nothing chosen");
}

FormView describeMenu(HWND window, HMENU menu) {
    FormView view;
    view.window = window;
    view.menu = true;
    view.caption = L"Menu";
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        ControlView item;
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        wchar_t text[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        item.text = text;
        if ((state & MF_SEPARATOR) != 0) {
            item.kind = L"separator";
        } else if (id == static_cast<UINT>(-1)) {
            item.kind = L"submenu";
        } else {
            item.kind = L"item";
            item.id = static_cast<int>(id);
        }
        item.enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
        if ((state & MF_GRAYED) != 0)
            addState(item, L"greyed");
        else if ((state & MF_DISABLED) != 0)
            addState(item, L"disabled");
        if ((state & MF_CHECKED) != 0)
            addState(item, L"checked");
        view.controls.push_back(item);
    }
    return view;
}

} // namespace

std::wstring controlKind(HWND control) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (isClass(control, WC_BUTTONW))
        return buttonKind(style);
    if (isClass(control, WC_EDITW))
        return L"edit";
    if (isClass(control, WC_STATICW))
        return L"text";
    if (isClass(control, WC_COMBOBOXW))
        return L"combo";
    if (isListView(control))
        return L"list";
    if (isTreeView(control))
        return L"tree";
    return className(control);
}

HWND formControl(HWND form, int id) {
    for (HWND child = GetWindow(form, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    return nullptr;
}

FormView describeForm(HWND window) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    if (menu != nullptr && IsMenu(menu))
        return describeMenu(window, menu);
    FormView view;
    view.window = window;
    view.caption = windowText(window);
    const HWND focus = GetFocus();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        ControlView control;
        control.window = child;
        control.id = GetDlgCtrlID(child);
        control.kind = controlKind(child);
        control.text = windowText(child);
        control.enabled = IsWindowEnabled(child) != FALSE;
        control.focused = child == focus || IsChild(child, focus);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (isClass(child, WC_BUTTONW))
            describeButton(child, style, control);
        else if (isClass(child, WC_EDITW) && (style & ES_READONLY) != 0)
            addState(control, L"read-only");
        else if (control.kind == L"combo")
            describeCombo(child, control);
        else if (control.kind == L"list")
            describeListView(child, control.details);
        else if (control.kind == L"tree")
            describeTreeView(child, control.details);
        if (!control.enabled)
            addState(control, L"disabled");
        if (control.focused)
            addState(control, L"focus");
        view.controls.push_back(control);
    }
    return view;
}

std::wstring formText(const FormView& view) {
    RECT place{};
    GetWindowRect(view.window, &place);
    std::wstring out = view.menu
                           ? std::wstring(L"\nMenu\n")
                           : svFormat(L"\nDialog %s at %d,%d\n", quoted(view.caption).c_str(),
                                      static_cast<int>(place.left), static_cast<int>(place.top));
    for (const ControlView& control : view.controls) {
        if (control.kind == L"separator") {
            out += L"  ------\n";
            continue;
        }
        // Static texts carry IDC_STATIC, which reads back as -1 or as its 16-bit form.
        const std::wstring id =
            control.id == -1 || control.id == 0xFFFF || (view.menu && control.id == 0)
                ? std::wstring(L"-")
                : std::to_wstring(control.id);
        out += svFormat(L"  %-6s %-8s %s", id.c_str(), control.kind.c_str(),
                        quoted(control.text).c_str());
        if (!control.state.empty())
            out += L"  (" + control.state + L")";
        out += L"\n";
        for (const std::wstring& detail : control.details)
            out += L"           " + detail + L"\n";
    }
    return out;
}

} // namespace forms
