// What transactions and command scopes record of the objects they change, and how they put
// them back.

#include "internal.h"

SvDbUndoSnapshot svDbSnapshot(const AcDbObject* obj) {
    AcDbMemoryFiler filer(AcDb::kUndoFiler);
    {
        SvDbFilingScope reading(obj);
        obj->dwgOutFields(&filer);
    }
    SvDbUndoSnapshot snapshot;
    snapshot.bytes.assign(filer.data(), filer.data() + filer.size());
    snapshot.erased = SvDbAccess::data(obj).erased;
    return snapshot;
}

void svDbRecordUndo(AcDbObject* obj) {
    SvDbObjectData& d = SvDbAccess::data(obj);
    AcDbDatabase* owner = svDbLive(SvDbAccess::serial(d.id));
    if (owner == nullptr)
        return;
    SvDbDatabaseData& db = SvDbAccess::impl(owner);
    if (db.restoring > 0)
        return;
    const std::uint32_t index = SvDbAccess::index(d.id);
    SvDbChanges* transaction =
        db.stack.empty() ? nullptr : &SvDbAccess::impl(db.stack.back()).changes;
    SvDbChanges* scope = db.undo.scope.get();
    if (transaction != nullptr && transaction->holds(index))
        transaction = nullptr;
    if (scope != nullptr && scope->holds(index))
        scope = nullptr;
    if (transaction == nullptr && scope == nullptr)
        return;
    SvDbUndoSnapshot snapshot = svDbSnapshot(obj);
    if (scope != nullptr && transaction != nullptr)
        scope->noteSnapshot(index, snapshot);
    else if (scope != nullptr)
        scope->noteSnapshot(index, std::move(snapshot));
    if (transaction != nullptr)
        transaction->noteSnapshot(index, std::move(snapshot));
}

void svDbRecordCreated(SvDbDatabaseData& db, std::uint32_t index) {
    if (!db.stack.empty())
        SvDbAccess::impl(db.stack.back()).changes.noteCreated(index);
    if (db.undo.scope != nullptr)
        db.undo.scope->noteCreated(index);
}

void svDbRestore(SvDbDatabaseData& db, std::uint32_t index, const SvDbUndoSnapshot& snapshot) {
    AcDbObject* obj = index < db.slots.size() ? db.slots[index].object : nullptr;
    if (obj == nullptr)
        return;
    SvDbObjectData& d = SvDbAccess::data(obj);
    ++db.restoring;
    AcDbMemoryFiler filer(snapshot.bytes.data(), snapshot.bytes.size(), AcDb::kUndoFiler);
    {
        SvDbFilingScope restoring(obj);
        obj->dwgInFields(&filer);
    }
    d.erased = snapshot.erased;
    d.modified = false;
    d.eraseToggled = false;
    const std::vector<AcDbObjectReactor*> transient = d.transient;
    for (AcDbObjectReactor* reactor : transient)
        reactor->modifyUndone(obj);
    --db.restoring;
}

void svDbRollBack(SvDbDatabaseData& db, const SvDbChanges& changes) {
    for (const auto& [index, snapshot] : changes.snapshots)
        svDbRestore(db, index, snapshot);
    for (auto it = changes.createdOrder.rbegin(); it != changes.createdOrder.rend(); ++it)
        svDbTakeBack(db, *it);
}
