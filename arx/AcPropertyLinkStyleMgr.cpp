#include "AcPropertyLinkStyleMgr.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "db/database.h"

SV_RX_DEFINE_SHORT_MEMBERS(AcPropertyLinkStyleMgr, AcRxService, 1)

namespace {

constexpr wchar_t kStylesKey[] = L"VELD_Sentavell_Styles";

AcDbObjectIdArray g_pending(0, 8);
bool g_performing = false;

} // namespace

AcPropertyLinkStyleMgr::~AcPropertyLinkStyleMgr() = default;

const AcDbObjectIdArray& AcPropertyLinkStyleMgr::pendingModifications() {
    return g_pending;
}

void AcPropertyLinkStyleMgr::queueDelayedModification(const AcDbObjectId& linkId) {
    for (int i = 0; i < g_pending.length();) {
        const AcDbObjectId& queued = g_pending[i];
        if (!queued.isValid()) {
            g_pending.removeAt(i);
            continue;
        }
        if (queued == linkId)
            return;
        ++i;
    }
    g_pending.append(linkId);
}

AcDbDictionary* AcPropertyLinkStyleMgr::stylesDictionary(AcDbDatabase* db, AcDb::OpenMode mode) {
    if (db == nullptr)
        return nullptr;
    AcDbDictionary* opened = nullptr;
    if (db->getNamedObjectsDictionary(opened, AcDb::kForRead) != Acad::eOk)
        return nullptr;
    AcDbObjPtr<AcDbDictionary> named;
    named.acquire(opened);

    AcDbObjectId stylesId;
    if (named->getAt(kStylesKey, stylesId) == Acad::eKeyNotFound) {
        if (named->upgradeOpen() != Acad::eOk)
            return nullptr;
        // A failed setAt leaves the id null, and the open below fails.
        AcDbObjPtr<AcDbDictionary> created;
        created.acquire(new AcDbDictionary);
        named->setAt(kStylesKey, created.object(), stylesId);
    }
    AcDbObject* styles = nullptr;
    if (acdbOpenAcDbObject(styles, stylesId, mode, false, AcDbDictionary::desc()) != Acad::eOk)
        return nullptr;
    return static_cast<AcDbDictionary*>(styles);
}

bool AcPropertyLinkStyleMgr::isPerformingDelayedModifications() {
    return g_performing;
}

void AcPropertyLinkStyleMgr::styleName(const AcDbObjectId& styleId, CString& name) {
    name.Empty();
    AcDbObjPtr<AcDbDictionary> styles;
    styles.acquire(stylesDictionary(styleId.database(), AcDb::kForRead));
    if (!styles)
        return;
    AcDbDictionaryIterator* it = styles->newIterator();
    if (it == nullptr)
        return;
    if (it->setPosition(styleId))
        name = it->name();
    delete it;
}

void AcPropertyLinkStyleMgr::performDelayedModifications() {
    g_performing = true;
    // The length is read afresh: nothing may be queued meanwhile, but nothing is assumed.
    for (int i = 0; i < g_pending.length(); ++i) {
        const AcDbObjectId linkId = g_pending[i];
        AcDbObjPtr<AcPropertyLink> link(linkId, AcDb::kForWrite);
        if (!link)
            continue;
        // Keeps the link from queueing itself again when its own source is rewritten below.
        link->setIsWithinDelayedModification(true);
        AcDbObjPtr<AcDbDictionary> owner(link->ownerId(), AcDb::kForRead);
        AcDbObjPtr<AcPropertyLinkStyle> style;
        if (!owner || style.open(link->style(), AcDb::kForRead) != Acad::eOk) {
            // A link skipped now must still queue itself once its style is back.
            link->setIsWithinDelayedModification(false);
            continue;
        }
        link.release();

        // A self-link's source is its label: the entity that owns the extension dictionary.
        AcDbObjPtr<AcDbEntity> entity(owner->ownerId(), AcDb::kForWrite);
        if (entity)
            style->update(entity.object(), entity.object());
        link.open(linkId, AcDb::kForWrite);
        if (link)
            link->setIsWithinDelayedModification(false);

        style.release();
        entity.release();
        owner.release();
        link.release();
    }
    g_pending.setLogicalLength(0);
    g_performing = false;
}
