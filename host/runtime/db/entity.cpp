#include "db/entity.h"
#include "db/acutbuffer.h"
#include "internal.h"

AcDbEntity::AcDbEntity() = default;
AcDbEntity::~AcDbEntity() = default;

AcDbObjectId AcDbEntity::blockId() const {
    return ownerId();
}

Adesk::UInt16 AcDbEntity::colorIndex() const {
    assertReadEnabled();
    return m_color;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, Adesk::Boolean) {
    if (color > kSvColorByLayer)
        return Acad::eOutOfRange;
    assertWriteEnabled();
    m_color = color;
    return Acad::eOk;
}

wchar_t* AcDbEntity::layer() const {
    assertReadEnabled();
    return acutNewString(m_layer.c_str());
}

Acad::ErrorStatus AcDbEntity::setLayer(const wchar_t* layerName, Adesk::Boolean) {
    if (layerName == nullptr || *layerName == L'\0')
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_layer = layerName;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeUInt16(m_color);
    filer->writeString(m_layer.c_str());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbEntity::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Adesk::UInt16 color = 0;
    wchar_t* layerName = nullptr;
    filer->readUInt16(&color);
    filer->readString(&layerName);
    if (filer->filerStatus() == Acad::eOk && (color > kSvColorByLayer || *layerName == L'\0'))
        filer->setFilerStatus(Acad::eBadDwgFile);
    if (filer->filerStatus() == Acad::eOk) {
        m_color = color;
        m_layer = layerName;
    }
    acutDelBuffer(layerName);
    return filer->filerStatus();
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& ent, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    return acdbOpenObject(ent, id, mode, openErased);
}
