#include <algorithm>

#include "mfc/app_name.h"
#include "mfc/dialog.h"
#include "user/input.h"
#include "win/modules.h"

CString afxAppName() {
    wchar_t path[260] = {};
    GetModuleFileNameW(nullptr, path, 260);
    CString name(path);
    const int slash = std::max(name.ReverseFind(L'/'), name.ReverseFind(L'\\'));
    name = name.Mid(slash + 1);
    const int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT) {
    return MessageBoxW(GetActiveWindow(), text, afxAppName(), type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId);
}
