#pragma once

#include "comctl/listview.h"
#include "list_view_model.h"

namespace sv::comctl {

// A list view window: its items and columns, selection, input, notifications and painting in
// report view.
class ListView {
public:
    explicit ListView(HWND window);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Item messages.
    LRESULT insertItem(const LVITEMW* item);
    BOOL setItem(const LVITEMW* item);
    BOOL getItem(LVITEMW* item) const;
    BOOL setItemState(int index, const LVITEMW* item);
    int getItemText(int index, LVITEMW* item) const;
    BOOL setItemText(int index, const LVITEMW* item);
    BOOL deleteItem(int index);
    BOOL deleteAllItems();
    int nextItem(int start, UINT flags) const;
    int selectedCount() const;

    // Column messages.
    int insertColumn(int index, const LVCOLUMNW* column);
    BOOL setColumn(int index, const LVCOLUMNW* column);
    BOOL getColumn(int index, LVCOLUMNW* column) const;
    BOOL setColumnWidth(int index, int width);
    int widestCell(int column) const;

    // Changes a row's state with LVN_ITEMCHANGING and LVN_ITEMCHANGED; false when refused.
    bool changeState(int row, UINT state, UINT mask);
    void selectOnly(int row);
    int focusedRow() const;

    // Geometry in client coordinates.
    int headerHeight() const;
    int rowHeight() const;
    int columnLeft(int column) const;
    RECT rowRect(int row) const;
    RECT cellRect(int row, int column) const;
    int rowAt(POINT point) const;
    int columnAt(int x) const;
    int rowsPerPage() const;
    void ensureVisible(int row);
    BOOL itemRect(int row, int subItem, RECT* rect) const;
    int hitTest(LVHITTESTINFO* info, bool subItems) const;

    // Input.
    void press(POINT point, bool right, WPARAM keys);
    void release(POINT point, UINT code);
    void keyDown(UINT key);
    LRESULT notifyActivate(UINT code, int row, POINT point);

    // Painting (list_view_paint.cpp).
    void paint(HDC dc);
    void paintHeader(HDC dc, const RECT& client) const;
    void paintRow(HDC dc, int row, DWORD listAnswer, NMLVCUSTOMDRAW& draw);
    void paintCell(HDC dc, int row, int column, COLORREF text, COLORREF background,
                   bool highlighted) const;
    LRESULT customDraw(NMLVCUSTOMDRAW& draw, DWORD stage);

    void invalidate() const;
    bool showsHeader() const;

    HWND window_;
    ListViewModel model_;
    DWORD extendedStyle_ = 0;
    HFONT font_ = nullptr;
    HIMAGELIST images_[3] = {nullptr, nullptr, nullptr};
    COLORREF textColour_;
    COLORREF textBackground_;
    COLORREF background_;
    int topRow_ = 0;
    int selectionMark_ = -1;
    bool pressed_ = false;
};

} // namespace sv::comctl
