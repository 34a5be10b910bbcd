#include "rx/object.h"

#include "rx/class.h"
#include "rx/members.h"

namespace {
AcRxClass* g_objectClass = nullptr;
}

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
    return acrxCachedClass(g_objectClass, L"AcRxObject");
}

AcRxClass* AcRxObject::isA() const {
    return desc();
}

bool AcRxObject::isKindOf(const AcRxClass* aClass) const {
    const AcRxClass* mine = isA();
    // Most casts name the object's own class.
    return mine != nullptr && (mine == aClass || mine->isDerivedFrom(aClass));
}

AcRxObject* AcRxObject::clone() const {
    const AcRxClass* cls = isA();
    AcRxObject* copy = cls != nullptr ? cls->create() : nullptr;
    if (copy != nullptr && copy->copyFrom(this) != Acad::eOk) {
        delete copy;
        copy = nullptr;
    }
    return copy;
}

Acad::ErrorStatus AcRxObject::copyFrom(const AcRxObject*) {
    return Acad::eNotApplicable;
}

bool AcRxObject::isEqualTo(const AcRxObject* other) const {
    return other == this;
}

AcRx::Ordering AcRxObject::comparedTo(const AcRxObject*) const {
    return AcRx::kNotOrderable;
}
