#pragma once

#include <string>
#include <vector>

#include "user/types.h"

namespace forms {

// What the form shows and points at inside the controls that hold items: the rows of a list
// view, the items of a tree view, the choices of a combo box.
bool isListView(HWND control);
bool isTreeView(HWND control);
void describeListView(HWND list, std::vector<std::wstring>& lines);
void describeTreeView(HWND tree, std::vector<std::wstring>& lines);

// The screen point at a row of a list (number from 0, or the text of its first column) or an
// item of a tree (number in the order shown, its text, or "parent/child"), scrolled into view.
bool itemPoint(HWND control, const std::wstring& item, POINT& point, std::wstring& error);

// A combo box item by its text; -1 with the error when there is none.
int comboItem(HWND combo, const std::wstring& text, std::wstring& error);
// Clicks an item of the combo box's dropped list, as the second half of choosing it.
bool clickDroppedItem(HWND combo, int index, std::wstring& error);

} // namespace forms
