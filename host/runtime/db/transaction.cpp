#include "db/transaction.h"
#include "internal.h"

namespace {

SvDbDatabaseData& dataOf(AcDbTransactionManager* manager) {
    return SvDbAccess::impl(manager->database());
}

void remember(SvDbTransactionData& t, const AcDbObjectId& id, AcDb::OpenMode mode) {
    t.obtainedAt[id] = t.obtained.size();
    t.obtained.push_back({id, mode});
}

// An object already obtained by any running transaction is handed out again (upgraded when
// asked for write); anything else is opened and stays open until the outermost one ends.
Acad::ErrorStatus obtain(SvDbDatabaseData& db, SvDbTransactionData& into, AcDbObject*& obj,
                         AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
    obj = nullptr;
    for (AcTransaction* transaction : db.stack) {
        SvDbTransactionData& t = SvDbAccess::impl(transaction);
        auto it = t.obtainedAt.find(id);
        if (it == t.obtainedAt.end())
            continue;
        AcDbObject* found = svDbResolve(id);
        if (found == nullptr)
            return Acad::eInvalidObjectId;
        if (found->isErased() && !openErased)
            return Acad::eWasErased;
        SvDbObtained& entry = t.obtained[it->second];
        if (mode == AcDb::kForWrite && entry.mode != AcDb::kForWrite) {
            const Acad::ErrorStatus es = found->upgradeOpen();
            if (es != Acad::eOk)
                return es;
            entry.mode = AcDb::kForWrite;
        }
        obj = found;
        return Acad::eOk;
    }
    const Acad::ErrorStatus es = acdbOpenAcDbObject(obj, id, mode, openErased);
    if (es == Acad::eOk)
        remember(into, id, mode);
    return es;
}

} // namespace

AcTransaction::AcTransaction(AcDbTransactionManager* manager)
    : m_manager(manager), m_data(new SvDbTransactionData) {}

AcTransaction::~AcTransaction() {
    delete m_data;
}

Acad::ErrorStatus AcTransaction::getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                           bool openErased) {
    return obtain(dataOf(m_manager), *m_data, obj, id, mode, openErased);
}

AcDbTransactionManager::AcDbTransactionManager(AcDbDatabase* db) : m_db(db) {}

AcDbTransactionManager::~AcDbTransactionManager() = default;

AcDbDatabase* AcDbTransactionManager::database() const {
    return m_db;
}

AcTransaction* AcDbTransactionManager::startTransaction() {
    AcTransaction* transaction = SvDbAccess::newTransaction(this);
    dataOf(this).stack.push_back(transaction);
    return transaction;
}

int AcDbTransactionManager::numActiveTransactions() const {
    return static_cast<int>(SvDbAccess::impl(m_db).stack.size());
}

AcTransaction* AcDbTransactionManager::topTransaction() const {
    const auto& stack = SvDbAccess::impl(m_db).stack;
    return stack.empty() ? nullptr : stack.back();
}

Acad::ErrorStatus AcDbTransactionManager::getObject(AcDbObject*& obj, AcDbObjectId id,
                                                    AcDb::OpenMode mode, bool openErased) {
    obj = nullptr;
    AcTransaction* top = topTransaction();
    if (top == nullptr)
        return Acad::eNoActiveTransactions;
    return top->getObject(obj, id, mode, openErased);
}

Acad::ErrorStatus AcDbTransactionManager::endTransaction() {
    SvDbDatabaseData& db = dataOf(this);
    if (db.stack.empty())
        return Acad::eNoActiveTransactions;
    AcTransaction* transaction = db.stack.back();
    db.stack.pop_back();
    SvDbTransactionData& ending = SvDbAccess::impl(transaction);
    if (!db.stack.empty()) {
        // The enclosing transaction takes over: its older snapshots win, and what was created
        // here is created there.
        SvDbTransactionData& parent = SvDbAccess::impl(db.stack.back());
        for (auto& [index, snapshot] : ending.changes.snapshots) {
            if (!parent.changes.created.contains(index))
                parent.changes.noteSnapshot(index, std::move(snapshot));
        }
        for (std::uint32_t index : ending.changes.createdOrder)
            parent.changes.noteCreated(index);
        for (const SvDbObtained& entry : ending.obtained)
            remember(parent, entry.id, entry.mode);
    } else {
        for (const SvDbObtained& entry : ending.obtained) {
            if (AcDbObject* obj = svDbResolve(entry.id))
                obj->close();
        }
    }
    delete transaction;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTransactionManager::abortTransaction() {
    SvDbDatabaseData& db = dataOf(this);
    if (db.stack.empty())
        return Acad::eNoActiveTransactions;
    AcTransaction* transaction = db.stack.back();
    SvDbTransactionData& aborting = SvDbAccess::impl(transaction);
    for (auto it = aborting.obtained.rbegin(); it != aborting.obtained.rend(); ++it) {
        if (AcDbObject* obj = svDbResolve(it->id))
            svDbCloseQuietly(obj);
    }
    svDbRollBack(db, aborting.changes);
    db.stack.pop_back();
    delete transaction;
    return Acad::eOk;
}
