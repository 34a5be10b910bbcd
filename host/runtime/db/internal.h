#pragma once

// The database engine's own view of objects, ids, databases and transactions.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/database.h"
#include "db/object.h"
#include "db/transaction.h"

// The largest handle seed a drawing may hold: handles stay far from the end of their range. The
// loader refuses more, so no object is made that would take the seed past it.
inline constexpr std::uint64_t kSvDbMaxHandseed = std::uint64_t{1} << 62;

struct SvDbObjectData {
    AcDbObjectId id; // null while non-resident
    AcDbObjectId owner;
    AcDbObjectId xdict;
    std::vector<AcDbObjectId> reactors;
    std::vector<AcDbObjectReactor*> transient;
    int readers = 0;
    int notifyOpens = 0;
    int notifying = 0;
    int filing = 0; // the engine itself reads or fills the object: no open needed
    bool writer = false;
    bool erased = false;
    bool modified = false;
    bool eraseToggled = false;
    bool openedForModifySent = false;
    bool zombie = false;  // taken back by an abort while open: deleted at its last close
    bool waiting = false; // its reactors are to be told once the running ones are
    bool waitingModified = false;
    bool waitingEraseToggled = false;
    bool unrevivable = false; // a proxy whose record its class, registered later, cannot read
};

struct SvDbSlot {
    AcDbObject* object = nullptr;
    AcDbHandle handle;
};

struct SvDbUndoSnapshot {
    std::vector<unsigned char> bytes;
    bool erased = false;
};

struct SvDbObtained {
    AcDbObjectId id;
    AcDb::OpenMode mode;
};

// Slot indices, a bit each, grown to the highest one marked: a command moving every object of a
// large drawing asks about each of them, and a hash set's scattered nodes made that the slow part.
class SvDbIndexSet {
public:
    bool contains(std::uint32_t index) const {
        const std::size_t word = index / 64;
        return word < m_words.size() && ((m_words[word] >> (index % 64)) & 1) != 0;
    }
    // False when it was marked already.
    bool insert(std::uint32_t index) {
        const std::size_t word = index / 64;
        if (word >= m_words.size())
            m_words.resize(std::max(word + 1, 2 * m_words.size()));
        const std::uint64_t bit = std::uint64_t{1} << (index % 64);
        if ((m_words[word] & bit) != 0)
            return false;
        m_words[word] |= bit;
        return true;
    }

private:
    std::vector<std::uint64_t> m_words;
};

// What a transaction or a command scope changed: each object's state before its first change,
// in the order first changed, and the objects it created.
struct SvDbChanges {
    std::vector<std::pair<std::uint32_t, SvDbUndoSnapshot>> snapshots;
    SvDbIndexSet snapshotted; // the indices of `snapshots`
    SvDbIndexSet created;
    std::vector<std::uint32_t> createdOrder;

    bool holds(std::uint32_t index) const {
        return created.contains(index) || snapshotted.contains(index);
    }
    void noteCreated(std::uint32_t index) {
        created.insert(index);
        createdOrder.push_back(index);
    }
    // An object already snapshotted keeps its first state.
    void noteSnapshot(std::uint32_t index, SvDbUndoSnapshot snapshot) {
        if (snapshotted.insert(index))
            snapshots.emplace_back(index, std::move(snapshot));
    }
};

// One object of an undo step: the state that undoing (or, once undone, redoing) puts back. The
// state it replaces is taken then, so a step costs one snapshot an object.
struct SvDbUndoEntry {
    std::uint32_t index = 0;
    SvDbUndoSnapshot other;
};

using SvDbSysVars = std::map<std::wstring, AcDbSysVar>; // upper-case names

struct SvDbUndoStep {
    std::vector<SvDbUndoEntry> entries;
    std::optional<SvDbSysVars> sysvars; // as for the entries, when the command set any

    bool empty() const { return entries.empty() && !sysvars; }
};

struct SvDbUndoHistory {
    std::unique_ptr<SvDbChanges> scope; // the command running now
    SvDbSysVars sysvarsAtStart;         // of that command
    std::deque<SvDbUndoStep> done;      // oldest first
    std::vector<SvDbUndoStep> undone;   // the next to redo last
    std::vector<int> undoneBatches;     // steps of each UNDO, for REDO
    std::uint64_t changes = 0;          // steps kept, undone and redone
};

struct SvDbTransactionData {
    SvDbChanges changes;
    std::vector<SvDbObtained> obtained;
    std::unordered_map<AcDbObjectId, std::size_t> obtainedAt; // position in `obtained`
};

struct SvDbDatabaseData {
    std::uint64_t serial = 0;
    std::vector<SvDbSlot> slots;
    std::unordered_map<std::uint64_t, std::uint32_t> byHandle;
    std::uint64_t handseed = 1;
    AcDbObjectId blockTable;
    AcDbObjectId nod;
    AcDbObjectId modelSpace;
    AcDbObjectId paperSpace;
    SvDbSysVars sysvars;
    AcDbTransactionManager* transactions = nullptr;
    std::vector<AcTransaction*> stack;
    std::wstring fileName;
    std::wstring fileError; // why the last save failed at the file
    SvDbUndoHistory undo;
    int restoring = 0;
    bool destroying = false;
};

// Counts an engine-internal use of an object, during which it needs no opening.
class SvDbFilingScope {
public:
    explicit SvDbFilingScope(const AcDbObject* obj);
    ~SvDbFilingScope();
    SvDbFilingScope(const SvDbFilingScope&) = delete;
    SvDbFilingScope& operator=(const SvDbFilingScope&) = delete;

private:
    SvDbObjectData& m_data;
};

struct SvDbAccess {
    static SvDbObjectData& data(const AcDbObject* obj) { return *obj->m_data; }
    static SvDbDatabaseData& impl(const AcDbDatabase* db) { return *db->m_impl; }
    static SvDbTransactionData& impl(const AcTransaction* tr) { return *tr->m_data; }
    static AcDbObjectId makeId(std::uint64_t serial, std::uint32_t index) {
        AcDbObjectId id;
        id.m_db = serial;
        id.m_index = index;
        return id;
    }
    static std::uint64_t serial(const AcDbObjectId& id) { return id.m_db; }
    static std::uint32_t index(const AcDbObjectId& id) { return id.m_index; }

    static AcTransaction* newTransaction(AcDbTransactionManager* manager) {
        return new AcTransaction(manager);
    }
    static AcDbTransactionManager* newTransactionManager(AcDbDatabase* db) {
        return new AcDbTransactionManager(db);
    }
    template <class Proxy>
    static std::wstring& proxyClassName(Proxy* proxy) {
        return proxy->m_className;
    }
    template <class Proxy>
    static std::wstring& proxyDxfName(Proxy* proxy) {
        return proxy->m_dxfName;
    }
    template <class Proxy>
    static std::wstring& proxyAppName(Proxy* proxy) {
        return proxy->m_appName;
    }
    template <class Proxy>
    static std::vector<unsigned char>& proxyBytes(Proxy* proxy) {
        return proxy->m_data;
    }
};

// Live databases by serial number.
std::uint64_t svDbRegister(AcDbDatabase* db);
void svDbUnregister(std::uint64_t serial);
// An id stopped being valid.
void svDbNoteInvalidation();
// The database last found by serial. Invariant: serial 0 (none) goes with null, so the test in
// svDbLive answers for serial 0 too.
struct SvDbLastLive {
    std::uint64_t serial = 0;
    AcDbDatabase* db = nullptr;
};
extern SvDbLastLive g_svDbLastLive;
AcDbDatabase* svDbFindLive(std::uint64_t serial);
// Nearly every id asked about belongs to the database of the one before: answered inline.
inline AcDbDatabase* svDbLive(std::uint64_t serial) {
    return serial == g_svDbLastLive.serial ? g_svDbLastLive.db : svDbFindLive(serial);
}
std::vector<AcDbDatabase*> svDbLiveDatabases();
// The object an id names, or null (database gone, object taken back).
AcDbObject* svDbResolve(const AcDbObjectId& id);
SvDbSlot* svDbSlot(const AcDbObjectId& id);

// The object's state as an abort or an undo puts it back.
SvDbUndoSnapshot svDbSnapshot(const AcDbObject* obj);
// Saves the object's state before its first change for the running transaction's abort and for
// the command scope's undo step.
void svDbRecordUndo(AcDbObject* obj);
// Notes an object added to the drawing in the running transaction and command scope.
void svDbRecordCreated(SvDbDatabaseData& db, std::uint32_t index);
// Puts an object back into a saved state without recording it and tells its transient reactors
// (modifyUndone); persistent reactors hear nothing, for what depends on it is restored alongside.
void svDbRestore(SvDbDatabaseData& db, std::uint32_t index, const SvDbUndoSnapshot& snapshot);
// Restores every changed object and takes back every created one, newest first.
void svDbRollBack(SvDbDatabaseData& db, const SvDbChanges& changes);
// Marks erased (or not) on behalf of an owner, notifying at once when nobody holds it open.
void svDbSetErased(AcDbObject* obj, bool erasing);
// Erases every object hard-owned by `obj`, recursively.
void svDbEraseOwned(AcDbObject* obj);
// Adds `obj` to `db` and to `owner`'s list of what it owns; the owner is open for write and every
// check has passed.
Acad::ErrorStatus svDbAddOwned(AcDbObject* owner, AcDbDatabase* db, AcDbObjectId& id,
                               AcDbObject* obj, std::vector<AcDbObjectId>& owned);
// A transaction's abort or a failed load takes an object back: its id stops being valid.
void svDbTakeBack(SvDbDatabaseData& db, std::uint32_t index);
// Ends a notify opening made by the engine.
void svDbCloseNotify(AcDbObject* obj);
// Ends an opening without sending notifications.
void svDbCloseQuietly(AcDbObject* obj);
// The ids that `obj` files as hard pointers and hard ownerships (what countHardReferences counts),
// or as ownerships of either kind (what erasing takes along).
// kPointers: hard and soft pointers alike, what a user means by "refers to".
enum class SvDbIdWanted { kHardReferences, kOwnerships, kPointers };
std::vector<AcDbObjectId> svDbFiledIds(const AcDbObject* obj, SvDbIdWanted wanted);

// Case-folded key for names that compare without regard to case.
std::wstring svDbFold(const wchar_t* text);
// Wide text of UTF-16LE; unpaired surrogates read as U+FFFD.
std::wstring svDbDecodeUtf16(const unsigned char* bytes, std::size_t units);
