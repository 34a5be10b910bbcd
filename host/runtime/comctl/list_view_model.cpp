#include "list_view_model.h"

#include <algorithm>

namespace sv::comctl {

int ListViewModel::insertRow(int index, ListRow row) {
    if (rowCount() >= kMaxRows) {
        return -1;
    }
    index = std::clamp(index, 0, rowCount());
    if (row.cells.empty()) {
        row.cells.emplace_back();
    }
    rows_.insert(rows_.begin() + index, std::move(row));
    return index;
}

bool ListViewModel::deleteRow(int index) {
    if (!hasRow(index)) {
        return false;
    }
    rows_.erase(rows_.begin() + index);
    return true;
}

bool ListViewModel::hasCell(int row, int subItem) const {
    return hasRow(row) && subItem >= 0 && subItem < std::max(columnCount(), 1);
}

const std::wstring& ListViewModel::cellText(int row, int subItem) const {
    static const std::wstring empty;
    if (!hasCell(row, subItem)) {
        return empty;
    }
    const auto& cells = this->row(row).cells;
    return static_cast<std::size_t>(subItem) < cells.size()
               ? cells[static_cast<std::size_t>(subItem)]
               : empty;
}

bool ListViewModel::setCellText(int row, int subItem, std::wstring text) {
    if (!hasCell(row, subItem)) {
        return false;
    }
    auto& cells = this->row(row).cells;
    if (cells.size() <= static_cast<std::size_t>(subItem)) {
        cells.resize(static_cast<std::size_t>(subItem) + 1);
    }
    cells[static_cast<std::size_t>(subItem)] = std::move(text);
    return true;
}

int ListViewModel::insertColumn(int index, ListColumn column) {
    if (columnCount() >= kMaxColumns) {
        return -1;
    }
    index = std::clamp(index, 0, columnCount());
    columns_.insert(columns_.begin() + index, std::move(column));
    return index;
}

bool ListViewModel::deleteColumn(int index) {
    if (!hasColumn(index)) {
        return false;
    }
    columns_.erase(columns_.begin() + index);
    for (auto& row : rows_) {
        if (index > 0 && static_cast<std::size_t>(index) < row.cells.size()) {
            row.cells.erase(row.cells.begin() + index);
        }
    }
    return true;
}

} // namespace sv::comctl
