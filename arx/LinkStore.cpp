#include "LinkStore.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/symboltable.h"

namespace {

void collectBlockLinks(const AcDbBlockTableRecord& block, AcDbObjectIdArray& links) {
    AcDbBlockTableRecordIterator* entities = nullptr;
    if (block.newIterator(entities) != Acad::eOk || entities == nullptr)
        return;
    for (; !entities->done(); entities->step()) {
        AcDbObjectId id;
        if (entities->getEntityId(id) == Acad::eOk)
            svCollectLinks(id, links);
    }
    delete entities;
}

} // namespace

SvLinkStore svCollectLinks(AcDbObjectId entityId, AcDbObjectIdArray& links) {
    AcDbObjPtr<AcDbEntity> entity(entityId, AcDb::kForRead);
    if (!entity)
        return SvLinkStore::Unreadable;
    const AcDbObjectId xdictId = entity->extensionDictionary();
    if (!xdictId.isValid())
        return SvLinkStore::NoStore;
    AcDbObjPtr<AcDbDictionary> xdict(xdictId, AcDb::kForRead);
    if (!xdict)
        return SvLinkStore::Unreadable;
    AcDbDictionaryIterator* it = xdict->newIterator();
    if (it == nullptr)
        return SvLinkStore::Unreadable;
    for (; !it->done(); it->next()) {
        AcDbObject* entry = nullptr;
        if (it->getObject(entry, AcDb::kForRead) != Acad::eOk)
            continue;
        if (entry->isKindOf(AcPropertyLink::desc()))
            links.append(entry->objectId());
        entry->close();
    }
    delete it;
    return SvLinkStore::Read;
}

void svCollectDrawingLinks(AcDbDatabase* db, AcDbObjectIdArray& links) {
    AcDbBlockTable* opened = nullptr;
    if (db == nullptr || db->getBlockTable(opened, AcDb::kForRead) != Acad::eOk)
        return;
    AcDbObjPtr<AcDbBlockTable> table;
    table.acquire(opened);
    AcDbBlockTableIterator* blocks = nullptr;
    if (table->newIterator(blocks) != Acad::eOk || blocks == nullptr)
        return;
    for (; !blocks->done(); blocks->step()) {
        AcDbBlockTableRecord* record = nullptr;
        if (blocks->getRecord(record, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbObjPtr<AcDbBlockTableRecord> block;
        block.acquire(record);
        collectBlockLinks(*record, links);
    }
    delete blocks;
}

AcDbObjectId svLinkSource(AcDbObjectId linkId) {
    AcDbObjectId xdictId;
    {
        AcDbObjPtr<AcDbObject> link(linkId, AcDb::kForRead);
        if (!link)
            return AcDbObjectId();
        xdictId = link->ownerId();
    }
    AcDbObjPtr<AcDbObject> xdict(xdictId, AcDb::kForRead);
    return xdict ? xdict->ownerId() : AcDbObjectId();
}

bool svRemoveLink(AcDbObjectId linkId) {
    AcDbObjectId xdictId;
    {
        AcDbObjPtr<AcDbObject> link(linkId, AcDb::kForRead);
        if (link)
            xdictId = link->ownerId();
    }
    AcDbObjPtr<AcDbDictionary> xdict(xdictId, AcDb::kForWrite);
    if (!xdict)
        return false;
    const AcDbObjectId sourceId = xdict->ownerId();
    if (xdict->remove(linkId) != Acad::eOk)
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
