#include "db/entity.h"

#include <cwchar>

#include "db/acutbuffer.h"
#include "db/proxy.h"
#include "db/symboltable.h"
#include "drawn_extents.h"
#include "internal.h"
#include "rx/print.h"

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

void AcDbEntity::worldDraw(AcGiWorldDraw*) const {
    assertReadEnabled();
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    return svAddDrawnExtents(*this, extents);
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) {
    return Acad::eNotApplicable;
}

void AcDbEntity::list() const {
    assertReadEnabled();
    const AcRxClass* cls = isA();
    const wchar_t* kind = cls->dxfName() != nullptr ? cls->dxfName() : cls->name();
    // A kept record of a kind the host lacks shows as that kind.
    if (auto* proxy = AcDbProxyEntity::cast(this); proxy != nullptr && proxy->originalDxfName())
        kind = proxy->originalDxfName();
    std::wstring space = L"not in a drawing";
    if (AcDbDatabase* db = database()) {
        if (ownerId() == db->modelSpaceId()) {
            space = L"Model space";
        } else if (auto* record = AcDbBlockTableRecord::cast(svDbResolve(ownerId()))) {
            SvDbFilingScope reading(record);
            const wchar_t* name = nullptr;
            record->getName(name);
            space = record->isLayout() ? L"Paper space" : std::wstring(L"Block ") + name;
        } else {
            space = L"owned by another entity";
        }
    }
    wchar_t color[16] = {};
    if (m_color == kSvColorByLayer)
        std::wcscpy(color, L"BYLAYER");
    else if (m_color == kSvColorByBlock)
        std::wcscpy(color, L"BYBLOCK");
    else
        std::swprintf(color, 16, L"%u", static_cast<unsigned>(m_color));
    acutPrintf(L"%-22s Layer: \"%s\"\n", kind, m_layer.c_str());
    acutPrintf(L"    %-18s%s\n", L"Space:", space.c_str());
    acutPrintf(L"    %-18s%llX\n", L"Handle:",
               static_cast<unsigned long long>(objectId().handle().value()));
    acutPrintf(L"    %-18s%s\n", L"Color:", color);
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
