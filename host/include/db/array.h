#pragma once

#include <utility>

#include "rx/abort.h"

// The host's growable array: a logical length (the elements in use), a physical length (the
// storage allocated) and a grow length (how much storage an append that does not fit adds at
// least). Indexing outside the logical length ends the host rather than touching memory.
template <class T>
class AcArray {
public:
    explicit AcArray(int physicalLength = 0, int growLength = 8)
        : m_grow(growLength > 0 ? growLength : 1) {
        if (physicalLength > 0)
            reallocate(physicalLength);
    }
    AcArray(const AcArray& other) : m_grow(other.m_grow) { *this = other; }
    AcArray(AcArray&& other) noexcept { swap(other); }
    ~AcArray() { delete[] m_data; }

    AcArray& operator=(const AcArray& other) {
        if (this == &other)
            return *this;
        if (m_physical < other.m_logical)
            reallocate(other.m_logical);
        for (int i = 0; i < other.m_logical; ++i)
            m_data[i] = other.m_data[i];
        m_logical = other.m_logical;
        return *this;
    }
    AcArray& operator=(AcArray&& other) noexcept {
        AcArray moved(std::move(other));
        swap(moved);
        return *this;
    }
    bool operator==(const AcArray& other) const {
        if (m_logical != other.m_logical)
            return false;
        for (int i = 0; i < m_logical; ++i) {
            if (!(m_data[i] == other.m_data[i]))
                return false;
        }
        return true;
    }

    int length() const { return m_logical; }
    int logicalLength() const { return m_logical; }
    int physicalLength() const { return m_physical; }
    int growLength() const { return m_grow; }
    bool isEmpty() const { return m_logical == 0; }

    AcArray& setGrowLength(int growLength) {
        m_grow = growLength > 0 ? growLength : 1;
        return *this;
    }
    // Elements that come into use again start out default-constructed.
    AcArray& setLogicalLength(int length) {
        if (length < 0)
            acrx_abort(L"AcArray: negative logical length %d", length);
        if (length > m_physical)
            reallocate(length);
        for (int i = m_logical; i < length; ++i)
            m_data[i] = T();
        m_logical = length;
        return *this;
    }
    // Storage of exactly `length` elements; the logical length shrinks with it.
    AcArray& setPhysicalLength(int length) {
        if (length < 0)
            acrx_abort(L"AcArray: negative physical length %d", length);
        reallocate(length);
        return *this;
    }

    T& at(int index) {
        check(index);
        return m_data[index];
    }
    const T& at(int index) const {
        check(index);
        return m_data[index];
    }
    T& operator[](int index) { return at(index); }
    const T& operator[](int index) const { return at(index); }
    T& first() { return at(0); }
    const T& first() const { return at(0); }
    T& last() { return at(m_logical - 1); }
    const T& last() const { return at(m_logical - 1); }
    T* asArrayPtr() { return m_data; }
    const T* asArrayPtr() const { return m_data; }

    // Answers the index of the new element.
    int append(const T& value) {
        if (m_logical == m_physical) {
            T copy(value); // value may live in the storage about to move
            growFor(m_logical + 1);
            m_data[m_logical] = std::move(copy);
        } else {
            m_data[m_logical] = value;
        }
        return m_logical++;
    }
    AcArray& append(const AcArray& other) {
        const AcArray copy(other);
        for (int i = 0; i < copy.m_logical; ++i)
            append(copy.m_data[i]);
        return *this;
    }
    AcArray& insertAt(int index, const T& value) {
        if (index < 0 || index > m_logical)
            acrx_abort(L"AcArray: insert at %d outside 0..%d", index, m_logical);
        T copy(value);
        if (m_logical == m_physical)
            growFor(m_logical + 1);
        for (int i = m_logical; i > index; --i)
            m_data[i] = std::move(m_data[i - 1]);
        m_data[index] = std::move(copy);
        ++m_logical;
        return *this;
    }
    AcArray& removeAt(int index) {
        check(index);
        for (int i = index; i + 1 < m_logical; ++i)
            m_data[i] = std::move(m_data[i + 1]);
        --m_logical;
        return *this;
    }
    bool remove(const T& value, int start = 0) {
        int at = 0;
        if (!find(value, at, start))
            return false;
        removeAt(at);
        return true;
    }
    AcArray& removeFirst() { return removeAt(0); }
    AcArray& removeLast() { return removeAt(m_logical - 1); }
    AcArray& removeAll() {
        m_logical = 0;
        return *this;
    }
    AcArray& setAll(const T& value) {
        for (int i = 0; i < m_logical; ++i)
            m_data[i] = value;
        return *this;
    }

    bool contains(const T& value, int start = 0) const {
        int at = 0;
        return find(value, at, start);
    }
    bool find(const T& value, int& foundAt, int start = 0) const {
        for (int i = start < 0 ? 0 : start; i < m_logical; ++i) {
            if (m_data[i] == value) {
                foundAt = i;
                return true;
            }
        }
        return false;
    }
    int find(const T& value) const {
        int at = -1;
        return find(value, at) ? at : -1;
    }

private:
    void check(int index) const {
        if (index < 0 || index >= m_logical)
            acrx_abort(L"AcArray: index %d outside 0..%d", index, m_logical - 1);
    }
    // Grows by the grow length, or by half the storage once that is more, so long runs of
    // appends stay linear.
    void growFor(int needed) {
        int step = m_grow > m_physical / 2 ? m_grow : m_physical / 2;
        int target = m_physical + step;
        reallocate(target > needed ? target : needed);
    }
    void reallocate(int physical) {
        T* data = physical > 0 ? new T[physical] : nullptr;
        const int keep = m_logical < physical ? m_logical : physical;
        for (int i = 0; i < keep; ++i)
            data[i] = std::move(m_data[i]);
        delete[] m_data;
        m_data = data;
        m_physical = physical;
        m_logical = keep;
    }
    void swap(AcArray& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_physical, other.m_physical);
        std::swap(m_logical, other.m_logical);
        std::swap(m_grow, other.m_grow);
    }

    T* m_data = nullptr;
    int m_physical = 0;
    int m_logical = 0;
    int m_grow = 8;
};
