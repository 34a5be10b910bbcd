#include "list_view.h"

#include <algorithm>

#include "control_support.h"
#include "gdi/rect.h"
#include "gdi/syscolors.h"
#include "user/input.h"
#include "user/paint.h"

namespace sv::comctl {
namespace {

constexpr UINT kStateBits = LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED |
                            LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;
constexpr int kCellPadding = 12;

bool isKeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

ListView::ListView(HWND window)
    : window_(window), textColour_(GetSysColor(COLOR_WINDOWTEXT)),
      textBackground_(GetSysColor(COLOR_WINDOW)), background_(GetSysColor(COLOR_WINDOW)) {}

LRESULT ListView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case LVM_INSERTITEMW:
        return insertItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_SETITEMW:
        return setItem(reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMW:
        return getItem(reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMSTATE:
        return setItemState(index, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE:
        return model_.hasRow(index) ? model_.row(index).state & static_cast<UINT>(lParam) : 0;
    case LVM_GETITEMTEXTW:
        return getItemText(index, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW:
        return setItemText(index, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM:
        return deleteItem(index);
    case LVM_DELETEALLITEMS:
        return deleteAllItems();
    case LVM_GETITEMCOUNT:
        return model_.rowCount();
    case LVM_GETSELECTEDCOUNT:
        return selectedCount();
    case LVM_GETNEXTITEM:
        return nextItem(index, static_cast<UINT>(lParam));
    case LVM_INSERTCOLUMNW:
        return insertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW:
        return setColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNW:
        return getColumn(index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN:
        if (!model_.deleteColumn(index)) {
            return FALSE;
        }
        invalidate();
        return TRUE;
    case LVM_GETCOLUMNWIDTH:
        return model_.hasColumn(index) ? model_.column(index).width : 0;
    case LVM_SETCOLUMNWIDTH:
        return setColumnWidth(index, static_cast<short>(LOWORD(lParam)));
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD previous = extendedStyle_;
        const DWORD mask = wParam == 0 ? ~DWORD{0} : static_cast<DWORD>(wParam);
        extendedStyle_ = (extendedStyle_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
        invalidate();
        return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return extendedStyle_;
    case LVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        return rect ? itemRect(index, 0, rect) : FALSE;
    }
    case LVM_GETSUBITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        return rect ? itemRect(index, rect->top, rect) : FALSE;
    }
    case LVM_HITTEST:
        return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST:
        return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_ENSUREVISIBLE:
        if (!model_.hasRow(index)) {
            return FALSE;
        }
        ensureVisible(index);
        return TRUE;
    case LVM_GETTOPINDEX:
        return topRow_;
    case LVM_GETCOUNTPERPAGE:
        return rowsPerPage();
    case LVM_SETIMAGELIST: {
        if (wParam > LVSIL_STATE) {
            return 0;
        }
        HIMAGELIST previous = images_[wParam];
        images_[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
        invalidate();
        return reinterpret_cast<LRESULT>(previous);
    }
    case LVM_GETIMAGELIST:
        return wParam > LVSIL_STATE ? 0 : reinterpret_cast<LRESULT>(images_[wParam]);
    case LVM_SETTEXTCOLOR:
        textColour_ = static_cast<COLORREF>(lParam);
        return TRUE;
    case LVM_GETTEXTCOLOR:
        return textColour_;
    case LVM_SETTEXTBKCOLOR:
        textBackground_ = static_cast<COLORREF>(lParam);
        return TRUE;
    case LVM_GETTEXTBKCOLOR:
        return textBackground_;
    case LVM_SETBKCOLOR:
        background_ = static_cast<COLORREF>(lParam);
        return TRUE;
    case LVM_GETBKCOLOR:
        return background_;
    case LVM_REDRAWITEMS:
        invalidate();
        return TRUE;
    case LVM_GETSELECTIONMARK:
        return selectionMark_;
    case LVM_SETSELECTIONMARK: {
        const int previous = selectionMark_;
        selectionMark_ = model_.hasRow(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
        return previous;
    }

    case WM_PAINT:
        return paintWindow(window_, [this](HDC dc) { paint(dc); });
    case WM_SIZE:
    case WM_STYLECHANGED:
        invalidate();
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        press(point, message == WM_RBUTTONDOWN, wParam);
        return 0;
    case WM_LBUTTONUP:
        release(point, NM_CLICK);
        return 0;
    case WM_RBUTTONUP:
        release(point, NM_RCLICK);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        const bool right = message == WM_RBUTTONDBLCLK;
        press(point, right, wParam);
        pressed_ = false;
        const int row = rowAt(point);
        notifyActivate(right ? NM_RDBLCLK : NM_DBLCLK, row, point);
        if (!right && row >= 0) {
            notifyActivate(LVN_ITEMACTIVATE, row, point);
        }
        return 0;
    }
    case WM_KEYDOWN:
        keyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        const int top = svWheelTopRow(topRow_, model_.rowCount(), rowsPerPage(), wParam);
        if (top != topRow_) {
            topRow_ = top;
            invalidate();
        }
        return 0;
    }
    default: {
        LRESULT result = 0;
        return answerCommonMessage(window_, font_, message, wParam, lParam, result)
                   ? result
                   : DefWindowProcW(window_, message, wParam, lParam);
    }
    }
}

// ---------------------------------------------------------------------------------------------
// Items.

LRESULT ListView::insertItem(const LVITEMW* item) {
    if (item == nullptr || item->iSubItem != 0) {
        return -1;
    }
    ListRow row;
    row.cells.push_back(item->mask & LVIF_TEXT ? readText(item->pszText) : std::wstring());
    if (item->mask & LVIF_PARAM) {
        row.data = item->lParam;
    }
    if (item->mask & LVIF_IMAGE) {
        row.image = item->iImage;
    }
    if (item->mask & LVIF_INDENT) {
        row.indent = item->iIndent;
    }
    int at = item->iItem;
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        const bool descending = (style & LVS_SORTDESCENDING) != 0;
        at = 0;
        while (at < model_.rowCount()) {
            const int order = model_.cellText(at, 0).compare(row.cells[0]);
            if (descending ? order < 0 : order > 0) {
                break;
            }
            ++at;
        }
    }
    at = model_.insertRow(at, std::move(row));
    if (at < 0) {
        return -1;
    }
    if (selectionMark_ >= at) {
        ++selectionMark_;
    }
    NMLISTVIEW inserted{};
    inserted.iItem = at;
    notifyParent(window_, LVN_INSERTITEM, &inserted.hdr);
    if ((item->mask & LVIF_STATE) && model_.hasRow(at)) {
        changeState(at, item->state, item->stateMask & kStateBits);
    }
    invalidate();
    return at;
}

BOOL ListView::setItem(const LVITEMW* item) {
    if (item == nullptr || !model_.hasCell(item->iItem, item->iSubItem)) {
        return FALSE;
    }
    if (item->mask & LVIF_TEXT) {
        model_.setCellText(item->iItem, item->iSubItem, readText(item->pszText));
    }
    if (item->iSubItem == 0) {
        ListRow& row = model_.row(item->iItem);
        if (item->mask & LVIF_PARAM) {
            row.data = item->lParam;
        }
        if (item->mask & LVIF_IMAGE) {
            row.image = item->iImage;
        }
        if (item->mask & LVIF_INDENT) {
            row.indent = item->iIndent;
        }
        if (item->mask & LVIF_STATE) {
            changeState(item->iItem, item->state, item->stateMask & kStateBits);
        }
    }
    invalidate();
    return TRUE;
}

BOOL ListView::getItem(LVITEMW* item) const {
    if (item == nullptr || !model_.hasCell(item->iItem, item->iSubItem)) {
        return FALSE;
    }
    const ListRow& row = model_.row(item->iItem);
    if (item->mask & LVIF_TEXT) {
        copyText(model_.cellText(item->iItem, item->iSubItem), item->pszText, item->cchTextMax);
    }
    if (item->mask & LVIF_PARAM) {
        item->lParam = row.data;
    }
    if (item->mask & LVIF_IMAGE) {
        item->iImage = row.image;
    }
    if (item->mask & LVIF_INDENT) {
        item->iIndent = row.indent;
    }
    if (item->mask & LVIF_STATE) {
        item->state = row.state & item->stateMask;
    }
    return TRUE;
}

BOOL ListView::setItemState(int index, const LVITEMW* item) {
    if (item == nullptr) {
        return FALSE;
    }
    const UINT mask = item->stateMask & kStateBits;
    if (index == -1) {
        for (int row = 0; row < model_.rowCount(); ++row) {
            changeState(row, item->state, mask);
        }
        return TRUE;
    }
    if (!model_.hasRow(index)) {
        return FALSE;
    }
    changeState(index, item->state, mask);
    if ((item->state & mask & LVIS_SELECTED) != 0) {
        selectionMark_ = index;
    }
    return TRUE;
}

int ListView::getItemText(int index, LVITEMW* item) const {
    if (item == nullptr || !model_.hasCell(index, item->iSubItem)) {
        return 0;
    }
    return copyText(model_.cellText(index, item->iSubItem), item->pszText, item->cchTextMax);
}

BOOL ListView::setItemText(int index, const LVITEMW* item) {
    if (item == nullptr || !model_.setCellText(index, item->iSubItem, readText(item->pszText))) {
        return FALSE;
    }
    invalidate();
    return TRUE;
}

BOOL ListView::deleteItem(int index) {
    if (!model_.hasRow(index)) {
        return FALSE;
    }
    NMLISTVIEW deleted{};
    deleted.iItem = index;
    deleted.lParam = model_.row(index).data;
    notifyParent(window_, LVN_DELETEITEM, &deleted.hdr);
    // The parent may have deleted rows itself while it was told.
    if (!model_.deleteRow(index)) {
        return FALSE;
    }
    if (selectionMark_ == index) {
        selectionMark_ = -1;
    } else if (selectionMark_ > index) {
        --selectionMark_;
    }
    topRow_ = std::clamp(topRow_, 0, std::max(model_.rowCount() - 1, 0));
    invalidate();
    return TRUE;
}

BOOL ListView::deleteAllItems() {
    NMLISTVIEW all{};
    all.iItem = -1;
    if (notifyParent(window_, LVN_DELETEALLITEMS, &all.hdr) == 0) {
        for (int row = 0; row < model_.rowCount(); ++row) {
            NMLISTVIEW deleted{};
            deleted.iItem = row;
            deleted.lParam = model_.row(row).data;
            notifyParent(window_, LVN_DELETEITEM, &deleted.hdr);
        }
    }
    model_.clear();
    selectionMark_ = -1;
    topRow_ = 0;
    invalidate();
    return TRUE;
}

int ListView::nextItem(int start, UINT flags) const {
    const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    if (flags & (LVNI_TOLEFT | LVNI_TORIGHT)) {
        return -1; // the report view has one item a line
    }
    const bool above = (flags & LVNI_ABOVE) != 0;
    const int step = above ? -1 : 1;
    int row = start < 0 ? (above ? -1 : 0) : start + step;
    for (; row >= 0 && row < model_.rowCount(); row += step) {
        if ((model_.row(row).state & wanted) == wanted) {
            return row;
        }
    }
    return -1;
}

int ListView::selectedCount() const {
    int count = 0;
    for (int row = 0; row < model_.rowCount(); ++row) {
        count += (model_.row(row).state & LVIS_SELECTED) ? 1 : 0;
    }
    return count;
}

// ---------------------------------------------------------------------------------------------
// Columns.

int ListView::insertColumn(int index, const LVCOLUMNW* column) {
    if (column == nullptr) {
        return -1;
    }
    ListColumn added;
    if (column->mask & LVCF_TEXT) {
        added.text = readText(column->pszText);
    }
    if (column->mask & LVCF_FMT) {
        added.format = column->fmt & LVCFMT_JUSTIFYMASK;
    }
    // Without a width the header's text decides, so that a new column is never invisible.
    added.width = (column->mask & LVCF_WIDTH)
                      ? std::max(column->cx, 0)
                      : measureText(window_, font_, added.text).cx + kCellPadding;
    const int at = model_.insertColumn(index, std::move(added));
    invalidate();
    return at;
}

BOOL ListView::setColumn(int index, const LVCOLUMNW* column) {
    if (column == nullptr || !model_.hasColumn(index)) {
        return FALSE;
    }
    ListColumn& target = model_.column(index);
    if (column->mask & LVCF_TEXT) {
        target.text = readText(column->pszText);
    }
    if (column->mask & LVCF_FMT) {
        target.format = column->fmt & LVCFMT_JUSTIFYMASK;
    }
    if (column->mask & LVCF_WIDTH) {
        target.width = std::max(column->cx, 0);
    }
    invalidate();
    return TRUE;
}

BOOL ListView::getColumn(int index, LVCOLUMNW* column) const {
    if (column == nullptr || !model_.hasColumn(index)) {
        return FALSE;
    }
    const ListColumn& source = model_.column(index);
    if (column->mask & LVCF_TEXT) {
        copyText(source.text, column->pszText, column->cchTextMax);
    }
    if (column->mask & LVCF_FMT) {
        column->fmt = source.format;
    }
    if (column->mask & LVCF_WIDTH) {
        column->cx = source.width;
    }
    if (column->mask & LVCF_SUBITEM) {
        column->iSubItem = index;
    }
    return TRUE;
}

int ListView::widestCell(int column) const {
    int widest = 0;
    for (int row = 0; row < model_.rowCount(); ++row) {
        widest = std::max(
            widest, static_cast<int>(measureText(window_, font_, model_.cellText(row, column)).cx));
    }
    int imageWidth = 0;
    int imageHeight = 0;
    if (column == 0 && ImageList_GetIconSize(images_[LVSIL_SMALL], &imageWidth, &imageHeight)) {
        widest += imageWidth + 2;
    }
    return widest + kCellPadding;
}

BOOL ListView::setColumnWidth(int index, int width) {
    if (!model_.hasColumn(index)) {
        return FALSE;
    }
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        int fitted = widestCell(index);
        if (width == LVSCW_AUTOSIZE_USEHEADER) {
            fitted = std::max<int>(
                fitted, measureText(window_, font_, model_.column(index).text).cx + kCellPadding);
            if (index == model_.columnCount() - 1) {
                RECT client{};
                GetClientRect(window_, &client);
                fitted = std::max<int>(fitted, client.right - columnLeft(index));
            }
        }
        width = fitted;
    }
    model_.column(index).width = std::max(width, 0);
    invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// States.

bool ListView::changeState(int row, UINT state, UINT mask) {
    if (!model_.hasRow(row)) {
        return false;
    }
    const UINT old = model_.row(row).state;
    const UINT changed = (old & ~mask) | (state & mask);
    if (changed == old) {
        return true;
    }
    NMLISTVIEW change{};
    change.iItem = row;
    change.uChanged = LVIF_STATE;
    change.uOldState = old;
    change.uNewState = changed;
    change.lParam = model_.row(row).data;
    if (notifyParent(window_, LVN_ITEMCHANGING, &change.hdr) != 0) {
        return false;
    }
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    // One row has the focus, and with LVS_SINGLESEL one row the selection.
    const bool focusing = (changed & ~old & LVIS_FOCUSED) != 0;
    const bool selecting = (changed & ~old & LVIS_SELECTED) != 0 && (style & LVS_SINGLESEL);
    for (int other = 0; other < model_.rowCount(); ++other) {
        if (other == row) {
            continue;
        }
        if (focusing && (model_.row(other).state & LVIS_FOCUSED)) {
            changeState(other, 0, LVIS_FOCUSED);
        }
        if (selecting && (model_.row(other).state & LVIS_SELECTED)) {
            changeState(other, 0, LVIS_SELECTED);
        }
    }
    // The parent may have deleted the row while it was told.
    if (!model_.hasRow(row)) {
        return false;
    }
    model_.row(row).state = changed;
    change.lParam = model_.row(row).data;
    notifyParent(window_, LVN_ITEMCHANGED, &change.hdr);
    invalidate();
    return true;
}

void ListView::selectOnly(int row) {
    for (int other = 0; other < model_.rowCount(); ++other) {
        if (other != row && (model_.row(other).state & LVIS_SELECTED)) {
            changeState(other, 0, LVIS_SELECTED);
        }
    }
    if (model_.hasRow(row)) {
        changeState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        selectionMark_ = row;
        ensureVisible(row);
    }
}

int ListView::focusedRow() const {
    return nextItem(-1, LVNI_FOCUSED);
}

// ---------------------------------------------------------------------------------------------
// Geometry.

bool ListView::showsHeader() const {
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    return (style & LVS_TYPEMASK) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER);
}

int ListView::headerHeight() const {
    return showsHeader() ? static_cast<int>(measureText(window_, font_, L"Ag").cy) + 8 : 0;
}

int ListView::rowHeight() const {
    int height = static_cast<int>(measureText(window_, font_, L"Ag").cy) + 4;
    int imageWidth = 0;
    int imageHeight = 0;
    if (ImageList_GetIconSize(images_[LVSIL_SMALL], &imageWidth, &imageHeight)) {
        height = std::max(height, imageHeight + 1);
    }
    return std::max(height, 1);
}

int ListView::columnLeft(int column) const {
    int left = 0;
    for (int c = 0; c < column && c < model_.columnCount(); ++c) {
        left += model_.column(c).width;
    }
    return left;
}

RECT ListView::rowRect(int row) const {
    const int top = headerHeight() + (row - topRow_) * rowHeight();
    const int right = std::max(columnLeft(model_.columnCount()), 1);
    return RECT{0, top, right, top + rowHeight()};
}

RECT ListView::cellRect(int row, int column) const {
    RECT rect = rowRect(row);
    rect.left = columnLeft(column);
    rect.right = rect.left + (model_.hasColumn(column) ? model_.column(column).width : rect.right);
    return rect;
}

int ListView::rowAt(POINT point) const {
    const int header = headerHeight();
    if (point.y < header || point.x < 0 || point.x >= columnLeft(model_.columnCount())) {
        return -1;
    }
    const int row = topRow_ + (point.y - header) / rowHeight();
    return model_.hasRow(row) ? row : -1;
}

int ListView::columnAt(int x) const {
    for (int c = 0; c < model_.columnCount(); ++c) {
        if (x >= columnLeft(c) && x < columnLeft(c + 1)) {
            return c;
        }
    }
    return -1;
}

int ListView::rowsPerPage() const {
    RECT client{};
    GetClientRect(window_, &client);
    return std::max((client.bottom - headerHeight()) / rowHeight(), 1);
}

void ListView::ensureVisible(int row) {
    const int page = rowsPerPage();
    const int top = row < topRow_ ? row : row >= topRow_ + page ? row - page + 1 : topRow_;
    if (top != topRow_) {
        topRow_ = std::max(top, 0);
        invalidate();
    }
}

BOOL ListView::itemRect(int row, int subItem, RECT* rect) const {
    if (!model_.hasCell(row, subItem)) {
        return FALSE;
    }
    *rect = subItem == 0 && rect->left == LVIR_BOUNDS ? rowRect(row) : cellRect(row, subItem);
    return TRUE;
}

int ListView::hitTest(LVHITTESTINFO* info, bool subItems) const {
    if (info == nullptr) {
        return -1;
    }
    info->iItem = rowAt(info->pt);
    info->iSubItem = subItems && info->iItem >= 0 ? std::max(columnAt(info->pt.x), 0) : 0;
    info->flags = info->iItem >= 0 ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
    return info->iItem;
}

// ---------------------------------------------------------------------------------------------
// Input.

void ListView::press(POINT point, bool right, WPARAM keys) {
    if (GetFocus() != window_) {
        SetFocus(window_);
    }
    const int row = rowAt(point);
    const bool toggle =
        (keys & MK_CONTROL) && !right && !(GetWindowLongW(window_, GWL_STYLE) & LVS_SINGLESEL);
    if (row < 0) {
        selectOnly(-1);
    } else if (toggle) {
        const UINT selected = model_.row(row).state & LVIS_SELECTED;
        changeState(row, (selected ^ LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    } else if (!right || !(model_.row(row).state & LVIS_SELECTED)) {
        selectOnly(row);
    }
    pressed_ = true;
}

void ListView::release(POINT point, UINT code) {
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    const int row = rowAt(point);
    if (notifyActivate(code, row, point) == 0 && code == NM_RCLICK) {
        offerContextMenu(window_, point);
    }
}

LRESULT ListView::notifyActivate(UINT code, int row, POINT point) {
    NMITEMACTIVATE activate{};
    activate.iItem = row;
    activate.iSubItem = row >= 0 ? std::max(columnAt(point.x), 0) : 0;
    activate.ptAction = point;
    activate.lParam = model_.hasRow(row) ? model_.row(row).data : 0;
    activate.uKeyFlags = (isKeyDown(VK_CONTROL) ? LVKF_CONTROL : 0) |
                         (isKeyDown(VK_SHIFT) ? LVKF_SHIFT : 0) |
                         (isKeyDown(VK_MENU) ? LVKF_ALT : 0);
    return notifyParent(window_, code, &activate.hdr);
}

void ListView::keyDown(UINT key) {
    NMLVKEYDOWN down{};
    down.wVKey = static_cast<WORD>(key);
    notifyParent(window_, LVN_KEYDOWN, &down.hdr);
    const int count = model_.rowCount();
    if (count == 0) {
        return;
    }
    const int focused = focusedRow();
    int target = focused;
    switch (key) {
    case VK_UP:
        target = focused < 0 ? 0 : std::max(focused - 1, 0);
        break;
    case VK_DOWN:
        target = focused < 0 ? 0 : std::min(focused + 1, count - 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    case VK_PRIOR:
        target = std::max((focused < 0 ? 0 : focused) - rowsPerPage(), 0);
        break;
    case VK_NEXT:
        target = std::min((focused < 0 ? 0 : focused) + rowsPerPage(), count - 1);
        break;
    case VK_SPACE:
        target = focused < 0 ? 0 : focused;
        break;
    case VK_RETURN: {
        NMHDR header{};
        notifyParent(window_, NM_RETURN, &header);
        return;
    }
    default:
        return;
    }
    selectOnly(target);
}

void ListView::invalidate() const {
    InvalidateRect(window_, nullptr, FALSE);
}

} // namespace sv::comctl
