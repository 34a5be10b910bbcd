#include "LinkCommands.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyleMgr.h"
#include "SentavellUiApp.h"
#include "db/array.h"
#include "db/dictionary.h"
#include "ed/selection.h"
#include "resource.h"
#include "rx/print.h"

namespace {

void print(UINT id) {
    acutPrintf(L"%s", svResString()(id).GetString());
}

void print(UINT id, int number) {
    acutPrintf(svResString()(id), number);
}

// The first failure ends the conversion; what was taken so far stays.
void selectedIds(const ads_name selection, AcDbObjectIdArray& ids) {
    Adesk::Int32 length = 0;
    if (acedSSLength(selection, &length) != RTNORM)
        return;
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name entity;
        AcDbObjectId id;
        if (acedSSName(selection, i, entity) != RTNORM || acdbGetObjectId(id, entity) != Acad::eOk)
            return;
        ids.append(id);
    }
}

void collectLinks(AcDbObjectId selected, AcDbObjectIdArray& links) {
    AcDbObjPtr<AcDbEntity> entity(selected, AcDb::kForRead);
    if (!entity)
        return;
    const AcDbObjectId xdictId = entity->extensionDictionary();
    if (!xdictId.isValid()) {
        print(IDS_NO_XDICT);
        return;
    }
    AcDbObjPtr<AcDbDictionary> xdict(xdictId, AcDb::kForRead);
    if (!xdict)
        return;
    AcDbDictionaryIterator* it = xdict->newIterator();
    if (it == nullptr)
        return;
    for (; !it->done(); it->next()) {
        AcDbObject* entry = nullptr;
        if (it->getObject(entry, AcDb::kForRead) != Acad::eOk)
            continue;
        if (entry->isKindOf(AcPropertyLink::desc()))
            links.append(entry->objectId());
        entry->close();
    }
    delete it;
}

// Each step that succeeded stays done; only a link that went all the way counts.
bool removeLink(AcDbObjectId linkId) {
    AcDbObjectId xdictId, sourceId;
    {
        AcDbObjPtr<AcDbObject> link(linkId, AcDb::kForRead);
        if (link)
            xdictId = link->ownerId();
        AcDbObjPtr<AcDbObject> xdict(xdictId, AcDb::kForRead);
        if (xdict)
            sourceId = xdict->ownerId();
    }
    AcDbObjPtr<AcDbDictionary> xdict(xdictId, AcDb::kForWrite);
    if (!xdict || xdict->remove(linkId) != Acad::eOk)
        return false;
    AcDbObjPtr<AcDbEntity> source(sourceId, AcDb::kForWrite);
    if (!source || source->removePersistentReactor(linkId) != Acad::eOk)
        return false;
    AcDbObjPtr<AcDbObject> link(linkId, AcDb::kForWrite);
    const bool erased = link && link->erase(true) == Acad::eOk;
    link.release();
    source.release();
    xdict.release();
    return erased;
}

} // namespace

bool removeLinks() {
    ads_name selection;
    if (acedSSGet(nullptr, nullptr, nullptr, nullptr, selection) != RTNORM)
        return false;

    AcDbObjectIdArray selected(0, 8);
    selectedIds(selection, selected);
    if (selected.isEmpty()) {
        print(IDS_NOTHING_SELECTED);
        acedSSFree(selection);
        return false;
    }

    // Every link is found before any goes, so removal never disturbs the search.
    AcDbObjectIdArray links(0, 8);
    for (int i = 0; i < selected.length(); ++i)
        collectLinks(selected[i], links);
    if (links.isEmpty()) {
        print(IDS_NO_LINKS);
        acedSSFree(selection);
        return true;
    }

    int removed = 0;
    for (int i = 0; i < links.length(); ++i) {
        if (removeLink(links[i]))
            ++removed;
    }
    print(IDS_LINKS_FOUND, links.length());
    print(IDS_LINKS_REMOVED, removed);
    acedSSFree(selection);
    return true;
}

bool updateLinks() {
    if (AcPropertyLinkStyleMgr* mgr = CSentavellUiApp::Get()->GetStyleMgr())
        mgr->performDelayedModifications();
    return true;
}
