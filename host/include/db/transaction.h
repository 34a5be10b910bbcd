#pragma once

#include "db/object.h"

#pragma GCC visibility push(default)

class AcDbTransactionManager;
struct SvDbTransactionData;

// One level of a database's transactions. Objects obtained through getObject stay open until the
// outermost transaction ends; the caller does not close them.
class AcTransaction : public AcRxObject {
public:
    ~AcTransaction() override;
    AcTransaction(const AcTransaction&) = delete;
    AcTransaction& operator=(const AcTransaction&) = delete;

    Acad::ErrorStatus getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                bool openErased = false);

private:
    friend class AcDbTransactionManager;
    friend struct SvDbAccess;
    AcTransaction(AcDbTransactionManager* manager);
    AcDbTransactionManager* m_manager;
    SvDbTransactionData* m_data;
};

// Transactions of one database; they nest. Ending one keeps its changes (an inner one hands them
// to the one around it); aborting one restores every object changed under it as it was, takes
// back the objects created under it (their ids stop being valid) and un-erases what it erased.
class AcDbTransactionManager : public AcRxObject {
public:
    ~AcDbTransactionManager() override;
    AcDbTransactionManager(const AcDbTransactionManager&) = delete;
    AcDbTransactionManager& operator=(const AcDbTransactionManager&) = delete;

    AcTransaction* startTransaction();
    Acad::ErrorStatus endTransaction();
    Acad::ErrorStatus abortTransaction();
    int numActiveTransactions() const;
    AcTransaction* topTransaction() const;
    Acad::ErrorStatus getObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode,
                                bool openErased = false);
    AcDbDatabase* database() const;

private:
    friend class AcDbDatabase;
    friend struct SvDbAccess;
    explicit AcDbTransactionManager(AcDbDatabase* db);
    AcDbDatabase* m_db;
};

#pragma GCC visibility pop
