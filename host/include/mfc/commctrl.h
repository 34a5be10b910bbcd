#pragma once

#include "comctl/commctrl.h"
#include "mfc/gdiobj.h"
#include "mfc/wnd.h"

#pragma GCC visibility push(default)

// An image list. The object destroys the list it holds unless it was detached.
class CImageList {
public:
    CImageList() = default;
    virtual ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    // Images cx wide side by side in the bitmap resource id of the resource chain, the mask
    // colour transparent; FALSE when the bitmap is missing or this object holds a list.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    int GetImageCount() const;
    int Add(CBitmap* bitmap, COLORREF mask);

    HIMAGELIST m_hImageList = nullptr;
};

class CListCtrl : public CWnd {
public:
    DWORD SetExtendedStyle(DWORD style);
    DWORD GetExtendedStyle() const;
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    int InsertItem(int item, LPCWSTR text);
    int InsertItem(const LVITEMW* item);
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    int GetNextItem(int item, int flags) const;
    int GetSelectedCount() const;
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    CImageList* SetImageList(CImageList* list, int kind);
};

class CTreeCtrl : public CWnd {
public:
    HTREEITEM InsertItem(LPCWSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert);
    BOOL Expand(HTREEITEM item, UINT code);
    HTREEITEM GetSelectedItem() const;
    BOOL SelectItem(HTREEITEM item);
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    CString GetItemText(HTREEITEM item) const;
    UINT GetCount() const;
    BOOL DeleteAllItems();
    // Answers the list set before, as a temporary wrapper (null when none).
    CImageList* SetImageList(CImageList* list, int kind);
};

// Tools are the owner's windows or rectangles of them, told apart by id.
class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool over rect of window (its client area when rect is null).
    BOOL AddTool(CWnd* window, LPCWSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR id = 0);
    void RelayEvent(LPMSG msg);
    void Activate(BOOL active);
    int GetToolCount() const;
};

#pragma GCC visibility pop
