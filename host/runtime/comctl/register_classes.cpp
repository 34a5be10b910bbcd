#include "comctl/init.h"
#include "comctl/listview.h"
#include "comctl/tooltip.h"
#include "comctl/treeview.h"
#include "control_window.h"
#include "list_view.h"
#include "tooltip_window.h"
#include "tree_view.h"
#include "user/input.h"

namespace {

void registerControl(LPCWSTR name, WNDPROC proc, UINT style) {
    WNDCLASSW windowClass{};
    if (GetClassInfoW(nullptr, name, &windowClass)) {
        return;
    }
    windowClass.style = style | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = proc;
    windowClass.cbWndExtra = static_cast<int>(sizeof(void*));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

} // namespace

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (init == nullptr || init->dwSize < sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    InitCommonControls();
    return TRUE;
}

void InitCommonControls() {
    using namespace sv::comctl;
    registerControl(WC_LISTVIEWW, controlWindowProc<ListView>, CS_DBLCLKS);
    registerControl(WC_TREEVIEWW, controlWindowProc<TreeView>, CS_DBLCLKS);
    registerControl(TOOLTIPS_CLASSW, controlWindowProc<Tooltip>, CS_SAVEBITS);
}
