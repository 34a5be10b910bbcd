#include "acui/placement.h"

#include <algorithm>

RECT placeOnScreen(const DialogPlacement& saved, SIZE current, SIZE screen, bool resizable) {
    LONG width = current.cx;
    LONG height = current.cy;
    if (resizable && saved.width > 0 && saved.height > 0) {
        width = std::min(saved.width, screen.cx);
        height = std::min(saved.height, screen.cy);
    }
    const LONG left = std::clamp<LONG>(saved.left, 0, std::max<LONG>(0, screen.cx - width));
    const LONG top = std::clamp<LONG>(saved.top, 0, std::max<LONG>(0, screen.cy - height));
    return RECT{left, top, left + width, top + height};
}

CString placementKey(const CString& root, const CString& name) {
    CString key = root;
    if (!key.IsEmpty() && key.GetAt(key.GetLength() - 1) != L'\\')
        key += L'\\';
    key += L"Dialogs\\";
    key += name;
    return key;
}
