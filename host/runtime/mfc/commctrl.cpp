#include "mfc/commctrl.h"

#include <cwchar>

#include "mfc/afx.h"
#include "mfc/gdiobj.h"
#include "mfc/handle_map.h"
#include "user/controls.h"
#include "win/resources.h"

namespace {

HandleMap<HIMAGELIST, CImageList>& imageListMap() {
    static auto* const map = new HandleMap<HIMAGELIST, CImageList>(
        [](HIMAGELIST list) { return ImageList_GetImageCount(list) >= 0; },
        [](CImageList& wrapper, HIMAGELIST list) { wrapper.m_hImageList = list; },
        [](CImageList& wrapper) { wrapper.m_hImageList = nullptr; });
    return *map;
}

CImageList* imageListFrom(LRESULT previous) {
    return imageListMap().fromHandle(reinterpret_cast<HIMAGELIST>(previous));
}

// Text buffers grow until the control's answer fits.
template <typename Fetch>
CString fetchText(Fetch fetch) {
    for (int size = 256; size <= (1 << 20); size *= 4) {
        CString text;
        wchar_t* buffer = text.GetBufferSetLength(size);
        buffer[0] = L'\0';
        const int copied = fetch(buffer, size);
        text.ReleaseBuffer();
        if (copied < size - 1)
            return text;
    }
    return CString();
}

} // namespace

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    if (m_hImageList != nullptr)
        return FALSE;
    const LPCWSTR name = MAKEINTRESOURCEW(bitmapId);
    return Attach(
        ImageList_LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name, cx, grow, mask));
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    if (m_hImageList != nullptr)
        return FALSE;
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (m_hImageList != nullptr || list == nullptr)
        return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    const HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const {
    return ImageList_GetImageCount(m_hImageList);
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(*bitmap), mask);
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
}

DWORD CListCtrl::GetExtendedStyle() const {
    return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int subItem) {
    LVCOLUMNW info{};
    info.mask = LVCF_FMT | LVCF_TEXT;
    info.fmt = format;
    info.pszText = const_cast<LPWSTR>(heading);
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
    return static_cast<BOOL>(
        SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}

int CListCtrl::GetColumnWidth(int column) const {
    return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

int CListCtrl::InsertItem(int item, LPCWSTR text) {
    LVITEMW info{};
    info.mask = LVIF_TEXT;
    info.iItem = item;
    info.pszText = const_cast<LPWSTR>(text);
    return InsertItem(&info);
}

int CListCtrl::InsertItem(const LVITEMW* item) {
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text) {
    LVITEMW info{};
    info.iSubItem = subItem;
    info.pszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    return fetchText([&](wchar_t* buffer, int size) {
        LVITEMW info{};
        info.iSubItem = subItem;
        info.pszText = buffer;
        info.cchTextMax = size;
        return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                            reinterpret_cast<LPARAM>(&info)));
    });
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMW info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMW info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    if (!SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
        return 0;
    return static_cast<DWORD_PTR>(info.lParam);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMW info{};
    info.state = state;
    info.stateMask = mask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

int CListCtrl::GetNextItem(int item, int flags) const {
    return static_cast<int>(
        SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
}

int CListCtrl::GetSelectedCount() const {
    return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT));
}

BOOL CListCtrl::DeleteItem(int item) {
    return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)));
}

BOOL CListCtrl::DeleteAllItems() {
    return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind) {
    return imageListFrom(
        SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                    reinterpret_cast<LPARAM>(list != nullptr ? list->m_hImageList : nullptr)));
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPWSTR>(text);
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCTW* insert) {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(insert)));
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    return GetNextItem(nullptr, TVGN_CARET);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    return static_cast<BOOL>(
        SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetNextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXT);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEMW info{};
    info.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
        return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    return fetchText([&](wchar_t* buffer, int size) {
        TVITEMW info{};
        info.mask = TVIF_HANDLE | TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = size;
        if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info)))
            return 0;
        return static_cast<int>(std::wcslen(buffer));
    });
}

UINT CTreeCtrl::GetCount() const {
    return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}

BOOL CTreeCtrl::DeleteAllItems() {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int kind) {
    return imageListFrom(
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                    reinterpret_cast<LPARAM>(list != nullptr ? list->m_hImageList : nullptr)));
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    const RECT none{0, 0, 0, 0};
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, none, parent, 0);
}

namespace {

TOOLINFOW toolOf(CWnd* window, UINT_PTR id, LPCWSTR text) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(TOOLINFOW);
    tool.hwnd = window != nullptr ? window->m_hWnd : nullptr;
    tool.uId = id;
    tool.lpszText = const_cast<LPWSTR>(text);
    return tool;
}

} // namespace

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCWSTR text, LPCRECT rect, UINT_PTR id) {
    if (window == nullptr)
        return FALSE;
    TOOLINFOW tool = toolOf(window, id, text);
    if (rect != nullptr)
        tool.rect = *rect;
    else
        window->GetClientRect(&tool.rect);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR id) {
    TOOLINFOW tool = toolOf(window, id, text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CToolTipCtrl::RelayEvent(LPMSG msg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Activate(BOOL active) {
    SendMessage(TTM_ACTIVATE, active);
}

int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}
