#pragma once

#include <string>
#include <vector>

#include "comctl/listview.h"

namespace sv::comctl {

struct ListColumn {
    std::wstring text;
    int format = LVCFMT_LEFT;
    int width = 0;
};

struct ListRow {
    std::vector<std::wstring> cells; // cell 0 is the item's own text
    UINT state = 0;
    LPARAM data = 0;
    int image = 0;
    int indent = 0;
};

// The rows and columns of a list view, bounded so that no caller can make it grow without end.
class ListViewModel {
public:
    static constexpr int kMaxRows = 100000;
    static constexpr int kMaxColumns = 64;

    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }
    ListRow& row(int index) { return rows_[static_cast<std::size_t>(index)]; }
    const ListRow& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // Answers the index it landed at (clamped to the rows), -1 when full.
    int insertRow(int index, ListRow row);
    bool deleteRow(int index);
    void clear() { rows_.clear(); }

    // Subitems exist as far as the columns go; a list without columns still has cell 0.
    bool hasCell(int row, int subItem) const;
    const std::wstring& cellText(int row, int subItem) const;
    bool setCellText(int row, int subItem, std::wstring text);

    int columnCount() const { return static_cast<int>(columns_.size()); }
    bool hasColumn(int column) const { return column >= 0 && column < columnCount(); }
    ListColumn& column(int index) { return columns_[static_cast<std::size_t>(index)]; }
    const ListColumn& column(int index) const { return columns_[static_cast<std::size_t>(index)]; }
    int insertColumn(int index, ListColumn column);
    bool deleteColumn(int index);

private:
    std::vector<ListColumn> columns_;
    std::vector<ListRow> rows_;
};

} // namespace sv::comctl
