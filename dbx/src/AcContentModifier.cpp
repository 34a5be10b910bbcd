#include "AcContentModifier.h"

#include "LevelFiling.h"
#include "db/acutbuffer.h"

SV_RX_DEFINE_SHORT_MEMBERS(AcContentModifier, AcDbObject, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcTextModifier, AcContentModifier, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcMTextModifier, AcContentModifier, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcBlockModifier, AcContentModifier, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcDimensionModifier, AcContentModifier, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcLeaderModifier, AcContentModifier, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcColorModifier, AcContentModifier, 1)

SV_RX_DEFINE_VERSION(AcContentModifier, 1);
SV_RX_DEFINE_VERSION(AcTextModifier, 1);
SV_RX_DEFINE_VERSION(AcMTextModifier, 1);
SV_RX_DEFINE_VERSION(AcBlockModifier, 1);
SV_RX_DEFINE_VERSION(AcDimensionModifier, 1);
SV_RX_DEFINE_VERSION(AcLeaderModifier, 1);
SV_RX_DEFINE_VERSION(AcColorModifier, 1);

const wchar_t* AcContentModifier::displayName() const {
    return L"Generic modifier";
}

bool AcContentModifier::hasOptions() const {
    return false;
}

bool AcContentModifier::hasOptionsCorrect() const {
    return true;
}

AcRxClass* AcContentModifier::supportedEntityKind() const {
    return AcDbEntity::desc();
}

void AcContentModifier::updateContent(AcDbEntity*, const wchar_t*) {}

bool AcContentModifier::labelContent(const AcDbEntity*, CString&) const {
    return false;
}

bool AcContentModifier::holdsContent(const AcDbEntity* label, const wchar_t* text) const {
    if (text == nullptr)
        return true;
    CString shown;
    return !labelContent(label, shown) || shown == text;
}

Acad::ErrorStatus AcContentModifier::dwgOutFields(AcDbDwgFiler* filer) const {
    return svDwgOutLevel<AcDbObject>(this, filer, m_versionAcContentModifier);
}

Acad::ErrorStatus AcContentModifier::dwgInFields(AcDbDwgFiler* filer) {
    return svDwgInLevel<AcDbObject>(this, filer, m_versionAcContentModifier);
}

// Modifiers are filed only inside a style, and styles never go to DXF.
Acad::ErrorStatus AcContentModifier::dxfOutFields(AcDbDxfFiler*) const {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcContentModifier::dxfInFields(AcDbDxfFiler*) {
    return Acad::eNotImplementedYet;
}

const wchar_t* AcTextModifier::displayName() const {
    return L"Text modifier";
}

const wchar_t* AcMTextModifier::displayName() const {
    return L"MText modifier";
}

const wchar_t* AcBlockModifier::displayName() const {
    return L"Block modifier";
}

const wchar_t* AcDimensionModifier::displayName() const {
    return L"Dimension modifier";
}

const wchar_t* AcLeaderModifier::displayName() const {
    return L"Leader modifier";
}

const wchar_t* AcColorModifier::displayName() const {
    return L"Color modifier";
}

bool AcBlockModifier::hasOptions() const {
    return true;
}

bool AcBlockModifier::hasOptionsCorrect() const {
    return !m_attribName.IsEmpty();
}

const wchar_t* AcBlockModifier::attribName() const {
    assertReadEnabled();
    return m_attribName;
}

Acad::ErrorStatus AcBlockModifier::setAttribName(const wchar_t* name) {
    assertWriteEnabled();
    m_attribName = name;
    return Acad::eOk;
}

#define SV_MODIFIER_FILING(CLASS)                                                                  \
    Acad::ErrorStatus CLASS::dwgOutFields(AcDbDwgFiler* filer) const {                             \
        return svDwgOutLevel<AcContentModifier>(this, filer, m_version##CLASS);                    \
    }                                                                                              \
    Acad::ErrorStatus CLASS::dwgInFields(AcDbDwgFiler* filer) {                                    \
        return svDwgInLevel<AcContentModifier>(this, filer, m_version##CLASS);                     \
    }

SV_MODIFIER_FILING(AcTextModifier)
SV_MODIFIER_FILING(AcMTextModifier)
SV_MODIFIER_FILING(AcDimensionModifier)
SV_MODIFIER_FILING(AcLeaderModifier)
SV_MODIFIER_FILING(AcColorModifier)

Acad::ErrorStatus AcBlockModifier::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es =
        svDwgOutLevel<AcContentModifier>(this, filer, m_versionAcBlockModifier);
    if (es != Acad::eOk)
        return es;
    filer->writeString(m_attribName);
    return filer->filerStatus();
}

Acad::ErrorStatus AcBlockModifier::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es =
        svDwgInLevel<AcContentModifier>(this, filer, m_versionAcBlockModifier);
    if (es != Acad::eOk)
        return es;
    wchar_t* name = nullptr;
    filer->readString(&name);
    // A failed read leaves the name as it was rather than half-read.
    if (filer->filerStatus() == Acad::eOk)
        m_attribName = name;
    acutDelBuffer(name);
    return filer->filerStatus();
}
