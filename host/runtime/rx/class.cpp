#include "rx/class.h"

#include "rx/class_data.h"
#include "rx/members.h"

namespace {
AcRxClass* g_classClass = nullptr;
}

AcRxClass::AcRxClass() : m_data(new Data) {}

AcRxClass::~AcRxClass() {
    delete m_data;
}

AcRxClass* AcRxClass::desc() {
    return acrxCachedClass(g_classClass, L"AcRxClass");
}

AcRxClass* AcRxClass::cast(const AcRxObject* inPtr) {
    return acrxCastTo<AcRxClass>(inPtr);
}

AcRxClass* AcRxClass::isA() const {
    return desc();
}

const wchar_t* AcRxClass::name() const {
    return m_data->name.c_str();
}

const wchar_t* AcRxClass::dxfName() const {
    return m_data->dxfName ? m_data->dxfName->c_str() : nullptr;
}

const wchar_t* AcRxClass::appName() const {
    return m_data->appName ? m_data->appName->c_str() : nullptr;
}

AcRxClass* AcRxClass::myParent() const {
    return m_data->parent;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
    if (other == nullptr)
        return false;
    for (const AcRxClass* c = this; c != nullptr; c = c->m_data->parent) {
        if (c == other)
            return true;
    }
    return false;
}

AcRxObject* AcRxClass::create() const {
    return m_data->pseudoConstructor ? m_data->pseudoConstructor() : nullptr;
}

int AcRxClass::proxyFlags() const {
    return m_data->proxyFlags;
}

int AcRxClass::getClassVersion(int& maintVer) const {
    maintVer = m_data->maintVer;
    return m_data->dwgVer;
}

AppNameChangeFuncPtr AcRxClass::appNameCallbackPtr() const {
    return m_data->appNameCallback;
}
