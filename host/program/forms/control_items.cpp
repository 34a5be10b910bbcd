#include "control_items.h"

#include <cstring>
#include <cwctype>

#include "comctl/listview.h"
#include "comctl/treeview.h"
#include "crt/crt.h"
#include "crt/format.h"
#include "gdi/syscolors.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/screen.h"
#include "user/window.h"

namespace forms {

namespace {

// Lists and trees in forms are for people: a hostile drawing's thousands of rows are cut.
constexpr int kMaxRowsShown = 200;
constexpr int kMaxColumns = 32;
constexpr int kTextChars = 260;

bool isClassNamed(HWND window, const wchar_t* name) {
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    return _wcsicmp(className, name) == 0;
}

std::wstring quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text)
        out += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    return out + L"\"";
}

bool parseIndex(const std::wstring& text, int& index) {
    if (text.empty() || text.size() > 9)
        return false;
    index = 0;
    for (wchar_t c : text) {
        if (!std::iswdigit(static_cast<wint_t>(c)))
            return false;
        index = index * 10 + (c - L'0');
    }
    return true;
}

std::wstring colourName(COLORREF colour) {
    return svFormat(L"#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// --- list views ------------------------------------------------------------------------------

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[kTextChars] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = kTextChars;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int columnCount(HWND list, std::vector<std::wstring>* headers) {
    int count = 0;
    for (; count < kMaxColumns; ++count) {
        wchar_t text[kTextChars] = L"";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = kTextChars;
        if (SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(count),
                         reinterpret_cast<LPARAM>(&column)) == FALSE)
            break;
        if (headers != nullptr)
            headers->push_back(text);
    }
    return count;
}

// Asks the list's parent for each cell's text colour the way the list asks before it paints, so
// the form shows the colours a person would see.
class CustomDrawProbe {
public:
    explicit CustomDrawProbe(HWND list) : m_list(list), m_parent(GetParent(list)) {
        m_normal = GetSysColor(COLOR_WINDOWTEXT);
        NMLVCUSTOMDRAW draw = prepared(CDDS_PREPAINT, 0);
        m_wantsItems = (send(draw) & (CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYSUBITEMDRAW)) != 0;
    }

    // The colour of each cell of a row that differs from the list's own text colour.
    std::wstring rowColours(int row, int columns) {
        if (!m_wantsItems)
            return {};
        NMLVCUSTOMDRAW draw = prepared(CDDS_ITEMPREPAINT, row);
        const LRESULT answer = send(draw);
        std::vector<COLORREF> colours(static_cast<std::size_t>(columns), draw.clrText);
        if ((answer & CDRF_NOTIFYSUBITEMDRAW) != 0) {
            for (int column = 0; column < columns; ++column) {
                NMLVCUSTOMDRAW cell = prepared(CDDS_ITEMPREPAINT | CDDS_SUBITEM, row);
                cell.iSubItem = column;
                send(cell);
                colours[static_cast<std::size_t>(column)] = cell.clrText;
            }
        }
        std::wstring out;
        for (int column = 0; column < columns; ++column) {
            const COLORREF colour = colours[static_cast<std::size_t>(column)];
            if (colour != m_normal && colour != CLR_DEFAULT)
                out += svFormat(L" column %d %s", column, colourName(colour).c_str());
        }
        return out;
    }

private:
    NMLVCUSTOMDRAW prepared(DWORD stage, int row) const {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr.hwndFrom = m_list;
        draw.nmcd.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_list));
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = stage;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        if ((stage & CDDS_ITEM) != 0) {
            LVITEMW item{};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            SendMessageW(m_list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            draw.nmcd.lItemlParam = item.lParam;
        }
        draw.clrText = m_normal;
        draw.clrTextBk = GetSysColor(COLOR_WINDOW);
        return draw;
    }
    LRESULT send(NMLVCUSTOMDRAW& draw) const {
        return SendMessageW(m_parent, WM_NOTIFY, draw.nmcd.hdr.idFrom,
                            reinterpret_cast<LPARAM>(&draw));
    }

    HWND m_list;
    HWND m_parent;
    COLORREF m_normal = 0;
    bool m_wantsItems = false;
};

bool listRow(HWND list, const std::wstring& item, int& row, std::wstring& error) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (parseIndex(item, row)) {
        if (row < count)
            return true;
        error = svFormat(L"The list has %d row(s): no row %d.", count, row);
        return false;
    }
    for (row = 0; row < count; ++row) {
        if (cellText(list, row, 0) == item)
            return true;
    }
    error = L"The list has no row " + quoted(item) + L".";
    return false;
}

// --- tree views ------------------------------------------------------------------------------

HTREEITEM nextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

struct TreeItem {
    HTREEITEM handle;
    int level;
};

// Items in the order shown, depth first; collapsed branches are walked too, marked so.
void treeItems(HWND tree, HTREEITEM first, int level, std::vector<TreeItem>& items) {
    for (HTREEITEM item = first; item != nullptr && items.size() < 10000;
         item = nextItem(tree, item, TVGN_NEXT)) {
        items.push_back({item, level});
        treeItems(tree, nextItem(tree, item, TVGN_CHILD), level + 1, items);
    }
}

TVITEMW treeItem(HWND tree, HTREEITEM handle, wchar_t* text) {
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN;
    item.hItem = handle;
    item.pszText = text;
    item.cchTextMax = kTextChars;
    item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item;
}

std::wstring treeText(HWND tree, HTREEITEM handle) {
    wchar_t text[kTextChars] = L"";
    treeItem(tree, handle, text);
    return text;
}

bool treeItemByName(HWND tree, const std::wstring& name, HTREEITEM& found, std::wstring& error) {
    std::vector<TreeItem> items;
    treeItems(tree, nextItem(tree, nullptr, TVGN_ROOT), 0, items);
    int index = 0;
    if (parseIndex(name, index)) {
        if (index < static_cast<int>(items.size())) {
            found = items[static_cast<std::size_t>(index)].handle;
            return true;
        }
        error = svFormat(L"The tree has %d item(s): no item %d.", static_cast<int>(items.size()),
                         index);
        return false;
    }
    // "parent/child" walks down; a plain text names the first item with it at any level.
    const std::size_t slash = name.find(L'/');
    if (slash != std::wstring::npos) {
        HTREEITEM level = nextItem(tree, nullptr, TVGN_ROOT);
        std::wstring rest = name;
        while (true) {
            const std::size_t cut = rest.find(L'/');
            const std::wstring part = rest.substr(0, cut);
            HTREEITEM match = nullptr;
            for (HTREEITEM item = level; item != nullptr; item = nextItem(tree, item, TVGN_NEXT)) {
                if (treeText(tree, item) == part) {
                    match = item;
                    break;
                }
            }
            if (match == nullptr)
                break;
            if (cut == std::wstring::npos) {
                found = match;
                return true;
            }
            rest = rest.substr(cut + 1);
            level = nextItem(tree, match, TVGN_CHILD);
        }
    } else {
        for (const TreeItem& item : items) {
            if (treeText(tree, item.handle) == name) {
                found = item.handle;
                return true;
            }
        }
    }
    error = L"The tree has no item " + quoted(name) + L".";
    return false;
}

bool toScreen(HWND control, const RECT& rect, POINT& point) {
    point = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return ClientToScreen(control, &point) != FALSE;
}

} // namespace

bool isListView(HWND control) {
    return isClassNamed(control, WC_LISTVIEWW);
}

bool isTreeView(HWND control) {
    return isClassNamed(control, WC_TREEVIEWW);
}

void describeListView(HWND list, std::vector<std::wstring>& lines) {
    std::vector<std::wstring> headers;
    const int columns = columnCount(list, &headers);
    std::wstring header = L"columns:";
    for (const std::wstring& text : headers)
        header += L" " + quoted(text);
    lines.push_back(header);
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    CustomDrawProbe probe(list);
    for (int row = 0; row < count && row < kMaxRowsShown; ++row) {
        const auto state = static_cast<UINT>(SendMessageW(
            list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED));
        std::wstring line = svFormat(L"%s%s %d", (state & LVIS_SELECTED) != 0 ? L">" : L" ",
                                     (state & LVIS_FOCUSED) != 0 ? L"*" : L" ", row);
        for (int column = 0; column < (columns > 0 ? columns : 1); ++column)
            line += (column == 0 ? L" " : L" | ") + quoted(cellText(list, row, column));
        const std::wstring colours = probe.rowColours(row, columns > 0 ? columns : 1);
        if (!colours.empty())
            line += L"  (colour" + colours + L")";
        lines.push_back(line);
    }
    if (count > kMaxRowsShown)
        lines.push_back(svFormat(L"... %d more row(s)", count - kMaxRowsShown));
    lines.push_back(svFormat(L"%d row(s)", count));
}

void describeTreeView(HWND tree, std::vector<std::wstring>& lines) {
    std::vector<TreeItem> items;
    treeItems(tree, nextItem(tree, nullptr, TVGN_ROOT), 0, items);
    const HTREEITEM caret = nextItem(tree, nullptr, TVGN_CARET);
    int index = 0;
    for (const TreeItem& entry : items) {
        if (index == kMaxRowsShown) {
            lines.push_back(
                svFormat(L"... %d more item(s)", static_cast<int>(items.size()) - kMaxRowsShown));
            break;
        }
        wchar_t text[kTextChars] = L"";
        const TVITEMW item = treeItem(tree, entry.handle, text);
        const bool hasChildren = nextItem(tree, entry.handle, TVGN_CHILD) != nullptr;
        const wchar_t* mark = !hasChildren ? L" " : (item.state & TVIS_EXPANDED) != 0 ? L"-" : L"+";
        lines.push_back(
            svFormat(L"%s %d %s%s %s  (image %d)", entry.handle == caret ? L">" : L" ", index,
                     std::wstring(static_cast<std::size_t>(entry.level) * 2, L' ').c_str(), mark,
                     quoted(text).c_str(), item.iImage));
        ++index;
    }
    lines.push_back(svFormat(L"%d item(s)", static_cast<int>(items.size())));
}

bool itemPoint(HWND control, const std::wstring& item, POINT& point, std::wstring& error) {
    if (isListView(control)) {
        int row = 0;
        if (!listRow(control, item, row, error))
            return false;
        SendMessageW(control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT rect{};
        rect.left = LVIR_LABEL;
        if (SendMessageW(control, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(&rect)) == FALSE) {
            error = svFormat(L"Row %d is not shown.", row);
            return false;
        }
        return toScreen(control, rect, point);
    }
    if (isTreeView(control)) {
        HTREEITEM handle = nullptr;
        if (!treeItemByName(control, item, handle, error))
            return false;
        // The message takes the item in the rectangle's first bytes.
        RECT rect{};
        std::memcpy(&rect, &handle, sizeof handle);
        if (SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)) ==
            FALSE) {
            error = L"Item " + quoted(item) + L" is inside a collapsed item: expand it first.";
            return false;
        }
        return toScreen(control, rect, point);
    }
    error = L"Only lists and trees have rows or items.";
    return false;
}

int comboItem(HWND combo, const std::wstring& text, std::wstring& error) {
    const auto index =
        static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text.c_str())));
    if (index < 0)
        error = L"The combo box has no item " + quoted(text) + L".";
    return index;
}

bool clickDroppedItem(HWND combo, int index, std::wstring& error) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info) || info.hwndList == nullptr) {
        error = L"The combo box shows no list to choose from.";
        return false;
    }
    RECT list{};
    GetClientRect(info.hwndList, &list);
    const int height = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int top = list.top + 1 + index * height;
    if (height <= 0 || top + height > list.bottom) {
        // Past the rows the list shows: the keys walk there, as a person scrolls with them.
        svInputKeyPress(VK_HOME);
        for (int i = 0; i < index; ++i)
            svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
        return true;
    }
    POINT at{(list.left + list.right) / 2, top + height / 2};
    ClientToScreen(info.hwndList, &at);
    svInputMouseMove(at);
    svInputMouseButton(SvMouseButton::left, true, at);
    svInputMouseButton(SvMouseButton::left, false, at);
    return true;
}

} // namespace forms
