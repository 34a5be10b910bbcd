#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "comctl/treeview.h"

namespace sv::comctl {

// A tree view window: its items, the caret, expansion, input, notifications and painting.
// Items are keys into the tree's own table, never pointers, so a stale handle is refused.
class TreeView {
public:
    static constexpr std::size_t kMaxItems = 100000;

    explicit TreeView(HWND window);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    using Key = std::uintptr_t;
    struct Item {
        std::wstring text;
        int image = 0;
        int selectedImage = 0;
        int children = 0; // cChildren as given: a button without child items yet
        LPARAM data = 0;
        UINT state = 0;
        Key parent = 0;
        std::vector<Key> kids;
    };
    struct Row {
        Key key;
        int depth;
    };

    static Key keyOf(HTREEITEM item) { return reinterpret_cast<Key>(item); }
    static HTREEITEM handleOf(Key key) { return reinterpret_cast<HTREEITEM>(key); }
    Item* find(HTREEITEM item);
    const Item* find(HTREEITEM item) const;
    std::vector<Key>& siblings(Key parent);
    bool hasChildren(const Item& item) const;
    bool isAncestor(Key ancestor, Key item) const;

    HTREEITEM insert(const TVINSERTSTRUCTW* insert);
    BOOL remove(HTREEITEM item);
    void removeKey(Key key);
    BOOL expand(HTREEITEM item, UINT code, UINT action);
    HTREEITEM next(HTREEITEM item, UINT code) const;
    BOOL select(HTREEITEM item, UINT action);
    BOOL getItem(TVITEMW* item) const;
    BOOL setItem(const TVITEMW* item);
    TVITEMW describe(Key key) const;

    std::vector<Row> visibleRows() const;
    int rowOf(Key key) const;
    int rowHeight() const;
    int itemLeft(int depth) const;
    RECT textRect(const Row& row, int index) const;
    HTREEITEM hitTest(TVHITTESTINFO* info) const;
    void ensureVisible(Key key);
    int visibleCount() const;

    void press(POINT point, bool right);
    void release(POINT point, UINT code);
    void doubleClick(POINT point);
    void keyDown(UINT key);

    void paint(HDC dc);
    void invalidate() const;

    HWND window_;
    std::map<Key, Item> items_;
    std::vector<Key> roots_;
    Key nextKey_ = 1;
    Key caret_ = 0;
    Key dropHighlight_ = 0;
    int topRow_ = 0;
    int indent_ = 19;
    HFONT font_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
    bool pressed_ = false;
};

} // namespace sv::comctl
