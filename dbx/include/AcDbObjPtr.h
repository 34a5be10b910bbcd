#pragma once

#include <type_traits>

#include "db/entity.h"
#include "db/object.h"

// Holds one opened database object and lets it go (closed, or deleted when it never became
// resident) on every way out of the scope.
template <class T>
class AcDbObjPtr {
public:
    AcDbObjPtr() = default;
    AcDbObjPtr(AcDbObjectId id, AcDb::OpenMode mode, bool closeOnRelease = true) {
        open(id, mode, closeOnRelease);
    }
    virtual ~AcDbObjPtr() { release(); }
    AcDbObjPtr(const AcDbObjPtr&) = delete;
    AcDbObjPtr& operator=(const AcDbObjPtr&) = delete;

    // Erased objects are never opened; an object of another class than T is refused.
    Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode, bool closeOnRelease = true) {
        release();
        m_closeOnRelease = closeOnRelease;
        Acad::ErrorStatus es;
        if constexpr (std::is_same_v<T, AcDbEntity>) {
            es = acdbOpenAcDbEntity(m_object, id, mode, false);
        } else {
            // Without its class the check would pass any object.
            const AcRxClass* required = T::desc();
            AcDbObject* opened = nullptr;
            es = required != nullptr ? acdbOpenAcDbObject(opened, id, mode, false, required)
                                     : Acad::eNotThatKindOfClass;
            m_object = es == Acad::eOk ? static_cast<T*>(opened) : nullptr;
        }
        if (es != Acad::eOk)
            m_object = nullptr;
        return es;
    }

    // Takes charge of an object the caller made or opened itself: a new object that never joins a
    // database is deleted when it is let go.
    void acquire(T* object, bool closeOnRelease = true) {
        release();
        m_object = object;
        m_closeOnRelease = closeOnRelease;
    }

    void release() {
        T* held = m_object;
        m_object = nullptr;
        if (held == nullptr || !m_closeOnRelease)
            return;
        if (held->objectId().isNull())
            delete held;
        else
            held->close();
    }

    T* object() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
    bool m_closeOnRelease = true;
};
