#pragma once

#include "acad/status.h"
#include "rx/codes.h"
#include "rx/heap.h"

#pragma GCC visibility push(default)

class AcRxClass;

// Root of every object the runtime knows by class.
class AcRxObject : public AcHeapOperators {
public:
    virtual ~AcRxObject();

    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* aClass) const;

    // A fresh instance of this object's class (its pseudo-constructor) given this object's
    // contents through copyFrom; null when the class cannot create or copy.
    virtual AcRxObject* clone() const;
    virtual Acad::ErrorStatus copyFrom(const AcRxObject* other);
    virtual bool isEqualTo(const AcRxObject* other) const;
    virtual AcRx::Ordering comparedTo(const AcRxObject* other) const;

protected:
    AcRxObject() = default;
    AcRxObject(const AcRxObject&) = default;
    AcRxObject& operator=(const AcRxObject&) = default;
};

#pragma GCC visibility pop
