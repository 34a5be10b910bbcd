#pragma once

#include <vector>

#include "mfc/cstring.h"

// The class library's growable array of strings. Indices are 0-based; GetAt and SetAt outside
// 0..GetSize()-1 throw std::out_of_range rather than touch memory the array does not own.
class CStringArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    // Answers the index of the new element.
    INT_PTR Add(const CString& text) {
        m_items.push_back(text);
        return GetSize() - 1;
    }
    const CString& GetAt(INT_PTR index) const {
        return m_items.at(static_cast<std::size_t>(index));
    }
    void SetAt(INT_PTR index, const CString& text) {
        m_items.at(static_cast<std::size_t>(index)) = text;
    }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<CString> m_items;
};
