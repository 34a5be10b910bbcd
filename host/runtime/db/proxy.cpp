#include "db/proxy.h"
#include "internal.h"

namespace {

// Whatever follows the understood levels is kept as it stands.
Acad::ErrorStatus readRest(AcDbDwgFiler* filer, std::vector<unsigned char>& bytes) {
    auto* memory = dynamic_cast<AcDbMemoryFiler*>(filer);
    if (memory == nullptr)
        return Acad::eNotApplicable;
    bytes.resize(memory->remaining());
    return filer->readBytes(bytes.data(), bytes.size());
}

const wchar_t* orNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

AcDbProxyObject::AcDbProxyObject() = default;
AcDbProxyObject::~AcDbProxyObject() = default;

const wchar_t* AcDbProxyObject::originalClassName() const {
    return m_className.c_str();
}
const wchar_t* AcDbProxyObject::originalDxfName() const {
    return orNull(m_dxfName);
}
const wchar_t* AcDbProxyObject::applicationDescription() const {
    return orNull(m_appName);
}
const std::vector<unsigned char>& AcDbProxyObject::proxyData() const {
    return m_data;
}

Acad::ErrorStatus AcDbProxyObject::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    return filer->writeBytes(m_data.data(), m_data.size());
}

Acad::ErrorStatus AcDbProxyObject::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    return readRest(filer, m_data);
}

AcDbProxyEntity::AcDbProxyEntity() = default;
AcDbProxyEntity::~AcDbProxyEntity() = default;

const wchar_t* AcDbProxyEntity::originalClassName() const {
    return m_className.c_str();
}
const wchar_t* AcDbProxyEntity::originalDxfName() const {
    return orNull(m_dxfName);
}
const wchar_t* AcDbProxyEntity::applicationDescription() const {
    return orNull(m_appName);
}
const std::vector<unsigned char>& AcDbProxyEntity::proxyData() const {
    return m_data;
}

Acad::ErrorStatus AcDbProxyEntity::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    return filer->writeBytes(m_data.data(), m_data.size());
}

Acad::ErrorStatus AcDbProxyEntity::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    return readRest(filer, m_data);
}
