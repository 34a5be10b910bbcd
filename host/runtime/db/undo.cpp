#include "db/undo.h"

#include <algorithm>

#include "internal.h"

namespace {

SvDbDatabaseData* dataOf(const AcDbDatabase* db) {
    return db != nullptr ? &SvDbAccess::impl(db) : nullptr;
}

AcDbObject* objectAt(const SvDbDatabaseData& db, std::uint32_t index) {
    return index < db.slots.size() ? db.slots[index].object : nullptr;
}

// The objects the command changed with their states before it, and those it created: undone, a
// new object is erased rather than taken back, for links may hold its id. System variables are
// kept whole when the command set any.
SvDbUndoStep stepOf(SvDbDatabaseData& db, SvDbChanges& changes) {
    SvDbUndoStep step;
    std::vector<SvDbUndoEntry>& entries = step.entries;
    for (auto& [index, before] : changes.snapshots) {
        if (objectAt(db, index) != nullptr)
            entries.push_back({index, std::move(before)});
    }
    for (std::uint32_t index : changes.createdOrder) {
        const AcDbObject* obj = objectAt(db, index);
        if (obj == nullptr || SvDbAccess::data(obj).erased)
            continue;
        SvDbUndoSnapshot before = svDbSnapshot(obj);
        before.erased = true;
        entries.push_back({index, std::move(before)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const SvDbUndoEntry& a, const SvDbUndoEntry& b) { return a.index < b.index; });
    if (db.sysvars != db.undo.sysvarsAtStart)
        step.sysvars = std::move(db.undo.sysvarsAtStart);
    return step;
}

bool isOpen(const SvDbDatabaseData& db, std::uint32_t index) {
    const AcDbObject* obj = objectAt(db, index);
    if (obj == nullptr)
        return false;
    const SvDbObjectData& d = SvDbAccess::data(obj);
    return d.readers > 0 || d.writer || d.notifyOpens > 0 || d.notifying > 0;
}

// Restoring under a running transaction, a command's half-done changes or an object somebody
// holds open would tear apart what they rely on.
template <class Steps>
Acad::ErrorStatus checkRestorable(const SvDbDatabaseData& db, const Steps& from,
                                  std::size_t steps) {
    if (!db.stack.empty())
        return Acad::eInvalidOpenState;
    const SvDbChanges* scope = db.undo.scope.get();
    if (scope != nullptr && (!scope->snapshots.empty() || !scope->createdOrder.empty()))
        return Acad::eInvalidOpenState;
    for (std::size_t i = 0; i < steps; ++i) {
        for (const SvDbUndoEntry& entry : from[from.size() - 1 - i].entries) {
            if (isOpen(db, entry.index))
                return Acad::eWasOpenForWrite;
        }
    }
    return Acad::eOk;
}

// Takes the newest `steps` steps of `from` over to `to`, putting each object and the system
// variables back into the step's state and keeping the one it replaces for the way back.
template <class From, class To>
void moveSteps(SvDbDatabaseData& db, From& from, To& to, std::size_t steps) {
    for (std::size_t i = 0; i < steps; ++i) {
        SvDbUndoStep step = std::move(from.back());
        from.pop_back();
        for (SvDbUndoEntry& entry : step.entries) {
            const AcDbObject* obj = objectAt(db, entry.index);
            if (obj == nullptr)
                continue;
            SvDbUndoSnapshot replaced = svDbSnapshot(obj);
            svDbRestore(db, entry.index, entry.other);
            entry.other = std::move(replaced);
        }
        if (step.sysvars)
            std::swap(db.sysvars, *step.sysvars);
        to.push_back(std::move(step));
    }
    // The scope of the command undoing, if any, has not set what was restored.
    db.undo.sysvarsAtStart = db.sysvars;
}

} // namespace

Acad::ErrorStatus svDbBeginCommandScope(AcDbDatabase* db, SvDbCommandScope& scope) {
    scope = SvDbCommandScope{};
    SvDbDatabaseData* d = dataOf(db);
    if (d == nullptr)
        return Acad::eNoDatabase;
    if (d->undo.scope != nullptr)
        return Acad::eInvalidOpenState;
    d->undo.scope = std::make_unique<SvDbChanges>();
    d->undo.sysvarsAtStart = d->sysvars;
    scope.database = d->serial;
    return Acad::eOk;
}

void svDbEndCommandScope(const SvDbCommandScope& scope, bool keep) {
    SvDbDatabaseData* d = dataOf(svDbLive(scope.database));
    if (d == nullptr || d->undo.scope == nullptr)
        return;
    const std::unique_ptr<SvDbChanges> changes = std::move(d->undo.scope);
    if (!keep) {
        svDbRollBack(*d, *changes);
        d->sysvars = std::move(d->undo.sysvarsAtStart);
        return;
    }
    SvDbUndoStep step = stepOf(*d, *changes);
    if (step.empty())
        return;
    SvDbUndoHistory& history = d->undo;
    history.done.push_back(std::move(step));
    if (history.done.size() > static_cast<std::size_t>(kSvDbUndoLimit))
        history.done.pop_front();
    history.undone.clear();
    history.undoneBatches.clear();
    ++history.changes;
}

Acad::ErrorStatus svDbUndo(AcDbDatabase* db, int count, int& undone) {
    undone = 0;
    SvDbDatabaseData* d = dataOf(db);
    if (d == nullptr)
        return Acad::eNoDatabase;
    if (count < 1)
        return Acad::eInvalidInput;
    SvDbUndoHistory& history = d->undo;
    const std::size_t steps = std::min(history.done.size(), static_cast<std::size_t>(count));
    const Acad::ErrorStatus es = checkRestorable(*d, history.done, steps);
    if (es != Acad::eOk)
        return es;
    moveSteps(*d, history.done, history.undone, steps);
    if (steps > 0) {
        history.undoneBatches.push_back(static_cast<int>(steps));
        ++history.changes;
    }
    undone = static_cast<int>(steps);
    return Acad::eOk;
}

Acad::ErrorStatus svDbRedo(AcDbDatabase* db, int& redone) {
    redone = 0;
    SvDbDatabaseData* d = dataOf(db);
    if (d == nullptr)
        return Acad::eNoDatabase;
    SvDbUndoHistory& history = d->undo;
    if (history.undoneBatches.empty())
        return Acad::eOk;
    const auto steps = static_cast<std::size_t>(history.undoneBatches.back());
    const Acad::ErrorStatus es = checkRestorable(*d, history.undone, steps);
    if (es != Acad::eOk)
        return es;
    history.undoneBatches.pop_back();
    moveSteps(*d, history.undone, history.done, steps);
    ++history.changes;
    redone = static_cast<int>(steps);
    return Acad::eOk;
}

int svDbUndoSteps(const AcDbDatabase* db) {
    const SvDbDatabaseData* d = dataOf(db);
    return d != nullptr ? static_cast<int>(d->undo.done.size()) : 0;
}

int svDbRedoSteps(const AcDbDatabase* db) {
    const SvDbDatabaseData* d = dataOf(db);
    return d != nullptr ? static_cast<int>(d->undo.undone.size()) : 0;
}

std::uint64_t svDbChangeCount(const AcDbDatabase* db) {
    const SvDbDatabaseData* d = dataOf(db);
    return d != nullptr ? d->undo.changes : 0;
}
