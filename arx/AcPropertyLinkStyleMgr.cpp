#include "AcPropertyLinkStyleMgr.h"

#include <unordered_set>

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "db/database.h"

SV_RX_DEFINE_SHORT_MEMBERS(AcPropertyLinkStyleMgr, AcRxService, 1)

namespace {

constexpr wchar_t kStylesKey[] = L"VELD_Sentavell_Styles";

AcDbObjectIdArray g_pending(0, 8);
bool g_performing = false;

// The ids on the pending list, for finding one without walking the list. The walk that drops
// invalid ids is needed only when one may be there: after an id somewhere stopped being valid
// and until a walk has gone through the whole list.
struct IdHash {
    std::size_t operator()(const AcDbObjectId& id) const { return id.hash(); }
};
std::unordered_set<AcDbObjectId, IdHash> g_pendingSet;
bool g_mayHoldInvalid = false;
Adesk::UInt64 g_invalidationsSeen = 0;

// Drops invalid ids up to the first entry equal to linkId; true when it found one.
bool walkPending(const AcDbObjectId& linkId) {
    for (int i = 0; i < g_pending.length();) {
        const AcDbObjectId queued = g_pending[i];
        if (!queued.isValid()) {
            g_pending.removeAt(i);
            g_pendingSet.erase(queued);
            continue;
        }
        if (queued == linkId)
            return true;
        ++i;
    }
    g_mayHoldInvalid = false;
    return false;
}

} // namespace

AcPropertyLinkStyleMgr::~AcPropertyLinkStyleMgr() = default;

const AcDbObjectIdArray& AcPropertyLinkStyleMgr::pendingModifications() {
    return g_pending;
}

void AcPropertyLinkStyleMgr::queueDelayedModification(const AcDbObjectId& linkId) {
    if (svDbIdInvalidationCount() != g_invalidationsSeen) {
        g_invalidationsSeen = svDbIdInvalidationCount();
        g_mayHoldInvalid = true;
    }
    const bool queued = g_mayHoldInvalid ? walkPending(linkId) : g_pendingSet.contains(linkId);
    if (queued)
        return;
    g_pending.append(linkId);
    g_pendingSet.insert(linkId);
    if (!linkId.isValid())
        g_mayHoldInvalid = true;
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
    g_pendingSet.clear();
    g_mayHoldInvalid = false;
    g_performing = false;
}
