#include "user/window_table.h"

#include "crt/crt.h"

#include <cstring>

using namespace sv::user;

namespace {

bool extraFits(const Window& w, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= w.extra.size();
}

// The class's extra bytes at index, 0 when they do not reach that far.
template <class Value>
Value readExtra(const Window& w, int index) {
    Value value{};
    if (extraFits(w, index, sizeof value))
        std::memcpy(&value, w.extra.data() + index, sizeof value);
    return value;
}

// Answers the value replaced, 0 (and nothing written) when the bytes do not reach that far.
template <class Value>
Value writeExtra(Window& w, int index, Value value) {
    const Value old = readExtra<Value>(w, index);
    if (extraFits(w, index, sizeof value))
        std::memcpy(w.extra.data() + index, &value, sizeof value);
    return old;
}

void setStyle(HWND window, int index, DWORD value) {
    Window* w = findWindow(window);
    STYLESTRUCT change{index == GWL_STYLE ? w->style : w->exStyle, value};
    SendMessageW(window, WM_STYLECHANGING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&change));
    w = findWindow(window);
    if (!w)
        return;
    (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
    SendMessageW(window, WM_STYLECHANGED, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&change));
}

std::wstring propertyKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return L"#" + std::to_wstring(reinterpret_cast<std::uintptr_t>(name));
    return name;
}

} // namespace

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(isChild(*w) ? w->parent : w->owner);
    case GWLP_ID:
        return w->id;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_USERDATA:
        return w->userData;
    default:
        return readExtra<LONG_PTR>(*w, index);
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    const LONG_PTR old = GetWindowLongPtrW(window, index);
    switch (index) {
    case GWLP_WNDPROC:
        if (value)
            w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_HINSTANCE:
        w->instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GWLP_HWNDPARENT:
        if (!isChild(*w))
            w->owner = reinterpret_cast<HWND>(value);
        break;
    case GWLP_ID:
        w->id = value;
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE:
        setStyle(window, index, static_cast<DWORD>(value));
        break;
    case GWLP_USERDATA:
        w->userData = value;
        break;
    default:
        return writeExtra<LONG_PTR>(*w, index, value);
    }
    return old;
}

LONG GetWindowLongW(HWND window, int index) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    if (index >= 0)
        return readExtra<LONG>(*w, index);
    return static_cast<LONG>(GetWindowLongPtrW(window, index));
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    Window* w = findWindow(window);
    if (!w)
        return 0;
    if (index >= 0)
        return writeExtra<LONG>(*w, index, value);
    // Style words are unsigned; the rest keep their sign.
    const LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE)
                              ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                              : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtrW(window, index, wide));
}

namespace {

std::pair<std::wstring, HANDLE>* findProp(Window& w, LPCWSTR name) {
    const std::wstring key = propertyKey(name);
    for (auto& prop : w.props)
        if (_wcsicmp(prop.first.c_str(), key.c_str()) == 0)
            return &prop;
    return nullptr;
}

} // namespace

BOOL SetPropW(HWND window, LPCWSTR name, HANDLE data) {
    Window* w = findWindow(window);
    if (!w || !name)
        return FALSE;
    if (auto* prop = findProp(*w, name))
        prop->second = data;
    else
        w->props.emplace_back(propertyKey(name), data);
    return TRUE;
}

HANDLE GetPropW(HWND window, LPCWSTR name) {
    Window* w = findWindow(window);
    if (!w || !name)
        return nullptr;
    auto* prop = findProp(*w, name);
    return prop ? prop->second : nullptr;
}

HANDLE RemovePropW(HWND window, LPCWSTR name) {
    Window* w = findWindow(window);
    if (!w || !name)
        return nullptr;
    auto* prop = findProp(*w, name);
    if (!prop)
        return nullptr;
    HANDLE data = prop->second;
    w->props.erase(w->props.begin() + (prop - w->props.data()));
    return data;
}
