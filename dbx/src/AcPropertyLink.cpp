#include "AcPropertyLink.h"

#include <string>

#include "AcDbObjPtr.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyLinkStyleMgrInterface.h"
#include "LevelFiling.h"
#include "SentavellProduct.h"
#include "UnreadableClassReport.h"
#include "rx/print.h"

SV_RX_DEFINE_FILED_MEMBERS(AcPropertyLink, AcDbObject, 27, 1, 0, L"ACPROPERTYLINK",
                           SENTAVELL_PROXY_APP_NAME)
SV_RX_DEFINE_VERSION(AcPropertyLink, 1);

AcPropertyLink::AcPropertyLink() = default;
AcPropertyLink::~AcPropertyLink() = default;
AcPropertyLink::AcPropertyLink(const AcPropertyLink& other) = default;
AcPropertyLink& AcPropertyLink::operator=(const AcPropertyLink& other) = default;

AcDbObjectId AcPropertyLink::style() const {
    assertReadEnabled();
    return m_style;
}

Acad::ErrorStatus AcPropertyLink::setStyle(const AcDbObjectId& styleId) {
    assertWriteEnabled();
    m_style = styleId;
    return Acad::eOk;
}

AcDbObjectId AcPropertyLink::linkedObj() const {
    assertReadEnabled();
    return m_linkedObj;
}

Acad::ErrorStatus AcPropertyLink::setLinkedObj(const AcDbObjectId& labelId) {
    assertWriteEnabled();
    m_linkedObj = labelId;
    return Acad::eOk;
}

bool AcPropertyLink::isWithinDelayedModification() const {
    assertReadEnabled();
    return m_withinDelayedModification;
}

Acad::ErrorStatus AcPropertyLink::setIsWithinDelayedModification(bool within) {
    assertWriteEnabled();
    m_withinDelayedModification = within;
    return Acad::eOk;
}

namespace {

void follow(const AcPropertyLink& link, const AcDbObject* source) {
    if (!link.linkedObj().isNull()) {
        // Declared first so that it is let go last: the label is closed before the style.
        AcDbObjPtr<AcPropertyLinkStyle> style;
        AcDbObjPtr<AcDbEntity> label(link.linkedObj(), AcDb::kForWrite);
        if (!label)
            return;
        if (style.open(link.style(), AcDb::kForRead) != Acad::eOk)
            return;
        style->update(AcDbEntity::cast(source), label.object());
        return;
    }
    // Rewriting the notifying object from inside its own notification is refused by the host, so
    // a self-link is queued. Not while its own queued update runs, nor while the queue is worked
    // off: that would lengthen the list being walked.
    if (link.isWithinDelayedModification())
        return;
    AcPropertyLinkStyleMgrInterface* manager = svFindStyleMgr();
    if (manager == nullptr || manager->isPerformingDelayedModifications())
        return;
    manager->queueDelayedModification(link.objectId());
}

} // namespace

// A notification: nothing may be thrown back at the host that sends it; the label then keeps
// what it had.
void AcPropertyLink::modified(const AcDbObject* dbObj) {
    assertReadEnabled();
    try {
        follow(*this, dbObj);
    } catch (...) {
    }
}

void AcPropertyLink::list() const {
    assertReadEnabled();
    std::wstring label = L"the source itself";
    if (!m_linkedObj.isNull()) {
        AcDbObjPtr<AcDbEntity> entity(m_linkedObj, AcDb::kForRead);
        label = L"not in the drawing";
        if (entity) {
            const AcRxClass* kind = entity->isA();
            AcDbHandle handle;
            entity->getAcDbHandle(handle);
            wchar_t hex[20];
            handle.getIntoAsciiBuffer(hex, sizeof hex / sizeof *hex);
            label = kind->dxfName() != nullptr ? kind->dxfName() : kind->name();
            label += L' ';
            label += hex;
        }
    }
    AcDbObjPtr<AcPropertyLinkStyle> style(m_style, AcDb::kForRead);
    acutPrintf(L"            link:     style %s, label %s\n",
               style ? svStyleNameOf(style.object()).c_str() : L"missing", label.c_str());
    if (style)
        style->list();
}

Acad::ErrorStatus AcPropertyLink::dwgOutFields(AcDbDwgFiler* filer) const {
    const Acad::ErrorStatus es = svDwgOutLevel<AcDbObject>(this, filer, m_versionAcPropertyLink);
    if (es != Acad::eOk)
        return es;
    filer->writeHardPointerId(m_style);
    filer->writeSoftPointerId(m_linkedObj);
    return filer->filerStatus();
}

Acad::ErrorStatus AcPropertyLink::dwgInFields(AcDbDwgFiler* filer) {
    const Acad::ErrorStatus es = svDwgInLevel<AcDbObject>(this, filer, m_versionAcPropertyLink);
    if (es != Acad::eOk)
        return es;
    filer->readHardPointerId(&m_style);
    filer->readSoftPointerId(&m_linkedObj);
    return filer->filerStatus();
}

// Links are not filed in DXF.
Acad::ErrorStatus AcPropertyLink::dxfInFields(AcDbDxfFiler*) {
    assertWriteEnabled();
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcPropertyLink::dxfOutFields(AcDbDxfFiler*) const {
    assertReadEnabled();
    return Acad::eNotImplementedYet;
}
