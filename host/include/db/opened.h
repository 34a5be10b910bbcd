#pragma once

#include <utility>

#include "db/object.h"

// The host's own scoped open: the object is closed when the holder goes or is reset. Movable,
// so a command can keep a set of objects open in a vector.
template <class T>
class SvOpened {
public:
    SvOpened() = default;
    SvOpened(AcDbObjectId id, AcDb::OpenMode mode) { open(id, mode); }
    ~SvOpened() { reset(); }
    SvOpened(const SvOpened&) = delete;
    SvOpened& operator=(const SvOpened&) = delete;
    SvOpened(SvOpened&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    SvOpened& operator=(SvOpened&& other) noexcept {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }

    Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode) {
        reset();
        return acdbOpenObject(m_object, id, mode);
    }
    void reset() {
        if (m_object != nullptr)
            m_object->close();
        m_object = nullptr;
    }
    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};
