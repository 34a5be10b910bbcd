#include "tree_view.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "control_support.h"
#include "gdi/rect.h"
#include "user/input.h"
#include "user/paint.h"

namespace sv::comctl {
namespace {

int compareWithoutCase(const std::wstring& a, const std::wstring& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = std::towlower(static_cast<wint_t>(a[i]));
        const auto y = std::towlower(static_cast<wint_t>(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace

TreeView::TreeView(HWND window) : window_(window) {}

LRESULT TreeView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto item = reinterpret_cast<HTREEITEM>(lParam);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case TVM_INSERTITEMW:
        return reinterpret_cast<LRESULT>(insert(reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
    case TVM_DELETEITEM:
        return remove(item);
    case TVM_EXPAND:
        return expand(item, static_cast<UINT>(wParam), TVC_UNKNOWN);
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(next(item, static_cast<UINT>(wParam)));
    case TVM_SELECTITEM:
        switch (wParam) {
        case TVGN_CARET:
            return select(item, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
            if (item != nullptr && find(item) == nullptr) {
                return FALSE;
            }
            dropHighlight_ = keyOf(item);
            invalidate();
            return TRUE;
        case TVGN_FIRSTVISIBLE: {
            const int row = rowOf(keyOf(item));
            if (row < 0) {
                return FALSE;
            }
            topRow_ = row;
            invalidate();
            return TRUE;
        }
        default:
            return FALSE;
        }
    case TVM_GETITEMW:
        return getItem(reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW:
        return setItem(reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_GETITEMSTATE: {
        const Item* found = find(reinterpret_cast<HTREEITEM>(wParam));
        return found ? found->state & static_cast<UINT>(lParam) : 0;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(items_.size());
    case TVM_SETIMAGELIST: {
        HIMAGELIST* slot = wParam == TVSIL_NORMAL  ? &images_
                           : wParam == TVSIL_STATE ? &stateImages_
                                                   : nullptr;
        if (slot == nullptr) {
            return 0;
        }
        HIMAGELIST previous = *slot;
        *slot = reinterpret_cast<HIMAGELIST>(lParam);
        invalidate();
        return reinterpret_cast<LRESULT>(previous);
    }
    case TVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == TVSIL_NORMAL  ? images_
                                         : wParam == TVSIL_STATE ? stateImages_
                                                                 : nullptr);
    case TVM_HITTEST:
        return reinterpret_cast<LRESULT>(hitTest(reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_GETITEMRECT: {
        // The item comes in the rectangle's place, as the platform passes it.
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr) {
            return FALSE;
        }
        HTREEITEM wanted{};
        std::memcpy(&wanted, rect, sizeof wanted);
        const int index = find(wanted) ? rowOf(keyOf(wanted)) : -1;
        if (index < 0) {
            return FALSE;
        }
        const std::vector<Row> rows = visibleRows();
        const RECT text = textRect(rows[static_cast<std::size_t>(index)], index);
        RECT client{};
        GetClientRect(window_, &client);
        *rect = wParam ? text : RECT{0, text.top, client.right, text.bottom};
        return TRUE;
    }
    case TVM_ENSUREVISIBLE:
        if (find(item) == nullptr) {
            return FALSE;
        }
        ensureVisible(keyOf(item));
        return TRUE;
    case TVM_GETINDENT:
        return indent_;
    case TVM_SETINDENT:
        indent_ = std::clamp(static_cast<int>(wParam), 4, 256);
        invalidate();
        return 0;
    case TVM_GETITEMHEIGHT:
        return rowHeight();
    case TVM_GETVISIBLECOUNT:
        return visibleCount();

    case WM_PAINT:
        return paintWindow(window_, [this](HDC dc) { paint(dc); });
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        press(point, message == WM_RBUTTONDOWN);
        return 0;
    case WM_LBUTTONUP:
        release(point, NM_CLICK);
        return 0;
    case WM_RBUTTONUP:
        release(point, NM_RCLICK);
        return 0;
    case WM_LBUTTONDBLCLK:
        doubleClick(point);
        return 0;
    case WM_KEYDOWN:
        keyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        const int rows = static_cast<int>(visibleRows().size());
        const int top = svWheelTopRow(topRow_, rows, visibleCount(), wParam);
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

TreeView::Item* TreeView::find(HTREEITEM item) {
    const auto found = items_.find(keyOf(item));
    return found == items_.end() ? nullptr : &found->second;
}

const TreeView::Item* TreeView::find(HTREEITEM item) const {
    const auto found = items_.find(keyOf(item));
    return found == items_.end() ? nullptr : &found->second;
}

std::vector<TreeView::Key>& TreeView::siblings(Key parent) {
    return parent == 0 ? roots_ : items_.at(parent).kids;
}

bool TreeView::hasChildren(const Item& item) const {
    return !item.kids.empty() || item.children > 0;
}

bool TreeView::isAncestor(Key ancestor, Key item) const {
    for (auto at = items_.find(item); at != items_.end(); at = items_.find(at->second.parent)) {
        if (at->second.parent == ancestor) {
            return true;
        }
    }
    return false;
}

HTREEITEM TreeView::insert(const TVINSERTSTRUCTW* insert) {
    if (insert == nullptr || items_.size() >= kMaxItems) {
        return nullptr;
    }
    Key parent = 0;
    if (insert->hParent != nullptr && insert->hParent != TVI_ROOT) {
        if (find(insert->hParent) == nullptr) {
            return nullptr;
        }
        parent = keyOf(insert->hParent);
    }
    const TVITEMW& source = insert->item;
    Item item;
    item.parent = parent;
    if (source.mask & TVIF_TEXT) {
        item.text = readText(source.pszText);
    }
    if (source.mask & TVIF_IMAGE) {
        item.image = source.iImage;
    }
    if (source.mask & TVIF_SELECTEDIMAGE) {
        item.selectedImage = source.iSelectedImage;
    }
    if (source.mask & TVIF_PARAM) {
        item.data = source.lParam;
    }
    if (source.mask & TVIF_CHILDREN) {
        item.children = source.cChildren;
    }
    if (source.mask & TVIF_STATE) {
        item.state = source.state & source.stateMask & ~TVIS_SELECTED;
    }

    std::vector<Key>& row = siblings(parent);
    std::size_t at = row.size();
    const HTREEITEM after = insert->hInsertAfter;
    if (after == TVI_FIRST) {
        at = 0;
    } else if (after == TVI_SORT) {
        at = 0;
        while (at < row.size() && compareWithoutCase(items_.at(row[at]).text, item.text) <= 0) {
            ++at;
        }
    } else if (after != TVI_LAST && after != nullptr) {
        const auto sibling = std::find(row.begin(), row.end(), keyOf(after));
        if (sibling == row.end()) {
            return nullptr;
        }
        at = static_cast<std::size_t>(sibling - row.begin()) + 1;
    }
    const Key key = nextKey_++;
    items_.emplace(key, std::move(item));
    row.insert(row.begin() + static_cast<std::ptrdiff_t>(at), key);
    invalidate();
    return handleOf(key);
}

BOOL TreeView::remove(HTREEITEM item) {
    if (item == nullptr || item == TVI_ROOT) {
        const std::vector<Key> roots = roots_;
        for (const Key key : roots) {
            removeKey(key);
        }
        topRow_ = 0;
        invalidate();
        return TRUE;
    }
    if (find(item) == nullptr) {
        return FALSE;
    }
    removeKey(keyOf(item));
    topRow_ = std::clamp(topRow_, 0, std::max(static_cast<int>(visibleRows().size()) - 1, 0));
    invalidate();
    return TRUE;
}

void TreeView::removeKey(Key key) {
    const auto found = items_.find(key);
    if (found == items_.end()) {
        return;
    }
    const std::vector<Key> kids = found->second.kids;
    for (const Key kid : kids) {
        removeKey(kid);
    }
    NMTREEVIEWW deleted{};
    deleted.itemOld = describe(key);
    notifyParent(window_, TVN_DELETEITEMW, &deleted.hdr);
    // The parent may have removed the item itself while it was told.
    const auto still = items_.find(key);
    if (still == items_.end()) {
        return;
    }
    std::vector<Key>& row = siblings(still->second.parent);
    row.erase(std::remove(row.begin(), row.end(), key), row.end());
    items_.erase(still);
    if (caret_ == key) {
        caret_ = 0;
    }
    if (dropHighlight_ == key) {
        dropHighlight_ = 0;
    }
}

TVITEMW TreeView::describe(Key key) const {
    TVITEMW item{};
    const auto found = items_.find(key);
    if (found == items_.end()) {
        return item;
    }
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handleOf(key);
    item.state = found->second.state;
    item.stateMask = ~0u;
    item.lParam = found->second.data;
    item.iImage = found->second.image;
    item.iSelectedImage = found->second.selectedImage;
    return item;
}

BOOL TreeView::expand(HTREEITEM handle, UINT code, UINT action) {
    Item* item = find(handle);
    code &= TVE_TOGGLE;
    if (item == nullptr || code == 0 || !hasChildren(*item)) {
        return FALSE;
    }
    const bool expanded = (item->state & TVIS_EXPANDED) != 0;
    const bool expanding = code == TVE_EXPAND || (code == TVE_TOGGLE && !expanded);
    if (expanding == expanded) {
        return TRUE;
    }
    NMTREEVIEWW change{};
    change.action = expanding ? TVE_EXPAND : TVE_COLLAPSE;
    change.itemNew = describe(keyOf(handle));
    if (notifyParent(window_, TVN_ITEMEXPANDINGW, &change.hdr) != 0) {
        return FALSE;
    }
    item = find(handle);
    if (item == nullptr) {
        return FALSE;
    }
    item->state =
        expanding ? item->state | TVIS_EXPANDED | TVIS_EXPANDEDONCE : item->state & ~TVIS_EXPANDED;
    // A caret hidden by the collapse moves up to the collapsed item.
    if (!expanding && caret_ != 0 && isAncestor(keyOf(handle), caret_)) {
        select(handle, action);
    }
    change.itemNew = describe(keyOf(handle));
    notifyParent(window_, TVN_ITEMEXPANDEDW, &change.hdr);
    topRow_ = std::clamp(topRow_, 0, std::max(static_cast<int>(visibleRows().size()) - 1, 0));
    invalidate();
    return TRUE;
}

HTREEITEM TreeView::next(HTREEITEM handle, UINT code) const {
    switch (code) {
    case TVGN_ROOT:
        return roots_.empty() ? nullptr : handleOf(roots_.front());
    case TVGN_CARET:
        return handleOf(caret_);
    case TVGN_DROPHILITE:
        return handleOf(dropHighlight_);
    case TVGN_FIRSTVISIBLE: {
        const std::vector<Row> rows = visibleRows();
        return topRow_ < static_cast<int>(rows.size())
                   ? handleOf(rows[static_cast<std::size_t>(topRow_)].key)
                   : nullptr;
    }
    case TVGN_LASTVISIBLE: {
        const std::vector<Row> rows = visibleRows();
        return rows.empty() ? nullptr : handleOf(rows.back().key);
    }
    default:
        break;
    }
    if (handle == nullptr || handle == TVI_ROOT) {
        return code == TVGN_CHILD && !roots_.empty() ? handleOf(roots_.front()) : nullptr;
    }
    const Item* item = find(handle);
    if (item == nullptr) {
        return nullptr;
    }
    const Key key = keyOf(handle);
    const std::vector<Key>& row = item->parent == 0 ? roots_ : items_.at(item->parent).kids;
    const auto at = std::find(row.begin(), row.end(), key);
    switch (code) {
    case TVGN_NEXT:
        return at + 1 < row.end() ? handleOf(*(at + 1)) : nullptr;
    case TVGN_PREVIOUS:
        return at > row.begin() ? handleOf(*(at - 1)) : nullptr;
    case TVGN_PARENT:
        return handleOf(item->parent);
    case TVGN_CHILD:
        return item->kids.empty() ? nullptr : handleOf(item->kids.front());
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        const std::vector<Row> rows = visibleRows();
        const int index = rowOf(key);
        const int wanted = code == TVGN_NEXTVISIBLE ? index + 1 : index - 1;
        return index >= 0 && wanted >= 0 && wanted < static_cast<int>(rows.size())
                   ? handleOf(rows[static_cast<std::size_t>(wanted)].key)
                   : nullptr;
    }
    default:
        return nullptr;
    }
}

BOOL TreeView::select(HTREEITEM handle, UINT action) {
    if (handle != nullptr && find(handle) == nullptr) {
        return FALSE;
    }
    const Key key = keyOf(handle);
    if (key == caret_) {
        return TRUE;
    }
    NMTREEVIEWW change{};
    change.action = action;
    change.itemOld = describe(caret_);
    change.itemNew = describe(key);
    if (notifyParent(window_, TVN_SELCHANGINGW, &change.hdr) != 0) {
        return FALSE;
    }
    if (key != 0 && find(handle) == nullptr) {
        return FALSE;
    }
    if (const auto old = items_.find(caret_); old != items_.end()) {
        old->second.state &= ~TVIS_SELECTED;
    }
    caret_ = key;
    if (key != 0) {
        items_.at(key).state |= TVIS_SELECTED;
        for (Key up = items_.at(key).parent; up != 0; up = items_.at(up).parent) {
            items_.at(up).state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        }
        ensureVisible(key);
    }
    change.itemOld = describe(keyOf(change.itemOld.hItem));
    change.itemNew = describe(key);
    notifyParent(window_, TVN_SELCHANGEDW, &change.hdr);
    invalidate();
    return TRUE;
}

BOOL TreeView::getItem(TVITEMW* item) const {
    const Item* found = item ? find(item->hItem) : nullptr;
    if (found == nullptr) {
        return FALSE;
    }
    if (item->mask & TVIF_TEXT) {
        copyText(found->text, item->pszText, item->cchTextMax);
    }
    if (item->mask & TVIF_IMAGE) {
        item->iImage = found->image;
    }
    if (item->mask & TVIF_SELECTEDIMAGE) {
        item->iSelectedImage = found->selectedImage;
    }
    if (item->mask & TVIF_PARAM) {
        item->lParam = found->data;
    }
    if (item->mask & TVIF_STATE) {
        item->state = found->state & item->stateMask;
    }
    if (item->mask & TVIF_CHILDREN) {
        item->cChildren = hasChildren(*found) ? 1 : 0;
    }
    return TRUE;
}

BOOL TreeView::setItem(const TVITEMW* item) {
    Item* found = item ? find(item->hItem) : nullptr;
    if (found == nullptr) {
        return FALSE;
    }
    if (item->mask & TVIF_TEXT) {
        found->text = readText(item->pszText);
    }
    if (item->mask & TVIF_IMAGE) {
        found->image = item->iImage;
    }
    if (item->mask & TVIF_SELECTEDIMAGE) {
        found->selectedImage = item->iSelectedImage;
    }
    if (item->mask & TVIF_PARAM) {
        found->data = item->lParam;
    }
    if (item->mask & TVIF_CHILDREN) {
        found->children = item->cChildren;
    }
    if (item->mask & TVIF_STATE) {
        // Selection and expansion change through their messages, which notify.
        const UINT mask = item->stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED);
        found->state = (found->state & ~mask) | (item->state & mask);
    }
    invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Geometry.

std::vector<TreeView::Row> TreeView::visibleRows() const {
    std::vector<Row> rows;
    std::vector<Row> pending;
    for (auto at = roots_.rbegin(); at != roots_.rend(); ++at) {
        pending.push_back(Row{*at, 0});
    }
    while (!pending.empty()) {
        const Row row = pending.back();
        pending.pop_back();
        rows.push_back(row);
        const Item& item = items_.at(row.key);
        if (item.state & TVIS_EXPANDED) {
            for (auto at = item.kids.rbegin(); at != item.kids.rend(); ++at) {
                pending.push_back(Row{*at, row.depth + 1});
            }
        }
    }
    return rows;
}

int TreeView::rowOf(Key key) const {
    const std::vector<Row> rows = visibleRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].key == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TreeView::rowHeight() const {
    int height = static_cast<int>(measureText(window_, font_, L"Ag").cy) + 2;
    int imageWidth = 0;
    int imageHeight = 0;
    if (ImageList_GetIconSize(images_, &imageWidth, &imageHeight)) {
        height = std::max(height, imageHeight + 2);
    }
    return std::max(height, 1);
}

int TreeView::itemLeft(int depth) const {
    const bool rootButtons = (GetWindowLongW(window_, GWL_STYLE) & TVS_LINESATROOT) != 0;
    return (depth + (rootButtons ? 1 : 0)) * indent_;
}

RECT TreeView::textRect(const Row& row, int index) const {
    int left = itemLeft(row.depth);
    int imageWidth = 0;
    int imageHeight = 0;
    if (ImageList_GetIconSize(images_, &imageWidth, &imageHeight)) {
        left += imageWidth + 3;
    }
    const Item& item = items_.at(row.key);
    const int top = (index - topRow_) * rowHeight();
    const int width = static_cast<int>(measureText(window_, font_, item.text).cx) + 4;
    return RECT{left, top, left + width, top + rowHeight()};
}

HTREEITEM TreeView::hitTest(TVHITTESTINFO* info) const {
    if (info == nullptr) {
        return nullptr;
    }
    info->hItem = nullptr;
    info->flags = TVHT_NOWHERE;
    const std::vector<Row> rows = visibleRows();
    if (info->pt.y < 0 || info->pt.x < 0) {
        return nullptr;
    }
    const int index = topRow_ + info->pt.y / rowHeight();
    if (index >= static_cast<int>(rows.size())) {
        return nullptr;
    }
    const Row& row = rows[static_cast<std::size_t>(index)];
    const RECT text = textRect(row, index);
    const int left = itemLeft(row.depth);
    const bool buttons = (GetWindowLongW(window_, GWL_STYLE) & TVS_HASBUTTONS) != 0;
    info->hItem = handleOf(row.key);
    if (info->pt.x >= text.right) {
        info->flags = TVHT_ONITEMRIGHT;
    } else if (info->pt.x >= text.left) {
        info->flags = TVHT_ONITEMLABEL;
    } else if (info->pt.x >= left) {
        info->flags = TVHT_ONITEMICON;
    } else if (buttons && info->pt.x >= left - indent_ && hasChildren(items_.at(row.key))) {
        info->flags = TVHT_ONITEMBUTTON;
    } else {
        info->flags = TVHT_ONITEMINDENT;
    }
    return info->hItem;
}

int TreeView::visibleCount() const {
    RECT client{};
    GetClientRect(window_, &client);
    return std::max(static_cast<int>(client.bottom / rowHeight()), 1);
}

void TreeView::ensureVisible(Key key) {
    for (Key up = items_.at(key).parent; up != 0; up = items_.at(up).parent) {
        items_.at(up).state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    }
    const int index = rowOf(key);
    const int page = visibleCount();
    if (index < topRow_) {
        topRow_ = index;
    } else if (index >= topRow_ + page) {
        topRow_ = index - page + 1;
    }
    invalidate();
}

// ---------------------------------------------------------------------------------------------
// Input.

void TreeView::press(POINT point, bool right) {
    if (GetFocus() != window_) {
        SetFocus(window_);
    }
    pressed_ = true;
    if (right) {
        return;
    }
    TVHITTESTINFO hit{point, 0, nullptr};
    hitTest(&hit);
    const bool fullRow = (GetWindowLongW(window_, GWL_STYLE) & TVS_FULLROWSELECT) != 0;
    if (hit.flags & TVHT_ONITEMBUTTON) {
        expand(hit.hItem, TVE_TOGGLE, TVC_BYMOUSE);
    } else if ((hit.flags & TVHT_ONITEM) || (fullRow && hit.hItem != nullptr)) {
        select(hit.hItem, TVC_BYMOUSE);
    }
}

void TreeView::release(POINT point, UINT code) {
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    NMHDR header{};
    if (notifyParent(window_, code, &header) == 0 && code == NM_RCLICK) {
        offerContextMenu(window_, point);
    }
}

void TreeView::doubleClick(POINT point) {
    press(point, false);
    pressed_ = false;
    TVHITTESTINFO hit{point, 0, nullptr};
    hitTest(&hit);
    NMHDR header{};
    if (notifyParent(window_, NM_DBLCLK, &header) == 0 && (hit.flags & TVHT_ONITEM)) {
        expand(hit.hItem, TVE_TOGGLE, TVC_BYMOUSE);
    }
}

void TreeView::keyDown(UINT key) {
    NMTVKEYDOWN down{};
    down.wVKey = static_cast<WORD>(key);
    notifyParent(window_, TVN_KEYDOWN, &down.hdr);
    const std::vector<Row> rows = visibleRows();
    if (rows.empty()) {
        return;
    }
    const int index = rowOf(caret_);
    const HTREEITEM caret = handleOf(caret_);
    const Item* item = find(caret);
    const int last = static_cast<int>(rows.size()) - 1;
    const auto moveTo = [&](int row) {
        select(handleOf(rows[static_cast<std::size_t>(std::clamp(row, 0, last))].key),
               TVC_BYKEYBOARD);
    };
    switch (key) {
    case VK_UP:
        moveTo(index < 0 ? 0 : index - 1);
        break;
    case VK_DOWN:
        moveTo(index < 0 ? 0 : index + 1);
        break;
    case VK_HOME:
        moveTo(0);
        break;
    case VK_END:
        moveTo(last);
        break;
    case VK_PRIOR:
        moveTo(index - visibleCount());
        break;
    case VK_NEXT:
        moveTo(index + visibleCount());
        break;
    case VK_LEFT:
        if (item && (item->state & TVIS_EXPANDED) && hasChildren(*item)) {
            expand(caret, TVE_COLLAPSE, TVC_BYKEYBOARD);
        } else if (item && item->parent != 0) {
            select(handleOf(item->parent), TVC_BYKEYBOARD);
        }
        break;
    case VK_RIGHT:
        if (item && !(item->state & TVIS_EXPANDED) && hasChildren(*item)) {
            expand(caret, TVE_EXPAND, TVC_BYKEYBOARD);
        } else if (item && !item->kids.empty()) {
            select(handleOf(item->kids.front()), TVC_BYKEYBOARD);
        }
        break;
    case VK_ADD:
        expand(caret, TVE_EXPAND, TVC_BYKEYBOARD);
        break;
    case VK_SUBTRACT:
        expand(caret, TVE_COLLAPSE, TVC_BYKEYBOARD);
        break;
    case VK_MULTIPLY: {
        std::vector<Key> pending{caret_};
        while (!pending.empty()) {
            const Key at = pending.back();
            pending.pop_back();
            expand(handleOf(at), TVE_EXPAND, TVC_BYKEYBOARD);
            // The parent may delete items while it hears of an expansion.
            if (const auto found = items_.find(at); found != items_.end()) {
                pending.insert(pending.end(), found->second.kids.begin(), found->second.kids.end());
            }
        }
        break;
    }
    default:
        break;
    }
}

void TreeView::invalidate() const {
    InvalidateRect(window_, nullptr, FALSE);
}

} // namespace sv::comctl
