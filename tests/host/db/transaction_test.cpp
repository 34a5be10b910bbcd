#include "db_test_support.h"

namespace {

class DbTransaction : public DbTest {
protected:
    AcDbTransactionManager* tm() { return db->transactionManager(); }
};

} // namespace

TEST_F(DbTransaction, AbortRestoresAModifiedObjectExactly) {
    const AcDbObjectId target = addRecord(1);
    const AcDbObjectId id = addRecord(10);
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    record->setText(L"before");
    record->setTarget(target);
    record->close();

    tm()->startTransaction();
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    record->setValue(11);
    record->setText(L"after");
    record->setTarget(AcDbObjectId::kNull);
    record->setLabel(target);
    record->close();
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);

    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(record->value(), 10);
    EXPECT_EQ(record->text(), L"before");
    EXPECT_EQ(record->target(), target);
    EXPECT_TRUE(record->label().isNull());
    record->close();
    EXPECT_EQ(tm()->numActiveTransactions(), 0);
    EXPECT_EQ(tm()->abortTransaction(), Acad::eNoActiveTransactions);
    EXPECT_EQ(tm()->endTransaction(), Acad::eNoActiveTransactions);
}

TEST_F(DbTransaction, AbortTakesBackCreatedObjectsAndRestoresTheirContainers) {
    const AcDbObjectId source = addRecord();
    tm()->startTransaction();
    const AcDbObjectId created = addRecord(5);
    const AcDbObjectId counter = addRecord();
    const AcDbObjectId link = attachLink(source, counter);
    const AcDbObjectId entity = addEntity(db->modelSpaceId());
    ASSERT_TRUE(created.isValid());
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);

    for (const AcDbObjectId& id : {created, counter, link, entity}) {
        EXPECT_FALSE(id.isValid());
        AcDbObject* obj = nullptr;
        EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eInvalidObjectId);
    }
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(obj->extensionDictionary().isNull());
    EXPECT_EQ(obj->persistentReactors().length(), 0);
    obj->close();
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(nod->numEntries(), 1u);
    nod->close();
    EXPECT_TRUE(spaceIsEmpty(db->modelSpaceId()));
}

TEST_F(DbTransaction, AbortUnerasesAndRestoresReactorsAndDictionaryEntries) {
    const AcDbObjectId source = addRecord();
    const AcDbObjectId counter = addRecord();
    const AcDbObjectId link = attachLink(source, counter);
    const AcDbObjectId victim = addRecord(3);

    tm()->startTransaction();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, victim, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForWrite), Acad::eOk);
    const AcDbObjectId xdictId = obj->extensionDictionary();
    obj->removePersistentReactor(link);
    obj->close();
    AcDbDictionary* xdict = nullptr;
    ASSERT_EQ(acdbOpenObject(xdict, xdictId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(xdict->remove(link), Acad::eOk);
    xdict->close();
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);

    EXPECT_FALSE(victim.isErased());
    EXPECT_EQ(readValue(victim), 3);
    ASSERT_EQ(acdbOpenObject(xdict, xdictId, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(xdict->has(link));
    xdict->close();
    // The link is attached again: it hears the next change.
    const Adesk::Int32 before = readValue(counter);
    ASSERT_EQ(writeValue(source, 1), Acad::eOk);
    EXPECT_EQ(readValue(counter), before + 1);
}

TEST_F(DbTransaction, InnerAbortInsideOuterCommitUndoesOnlyTheInnerWork) {
    const AcDbObjectId id = addRecord(1);
    tm()->startTransaction();
    ASSERT_EQ(writeValue(id, 2), Acad::eOk);
    const AcDbObjectId outerCreated = addRecord(20);
    tm()->startTransaction();
    EXPECT_EQ(tm()->numActiveTransactions(), 2);
    ASSERT_EQ(writeValue(id, 3), Acad::eOk);
    ASSERT_EQ(writeValue(outerCreated, 21), Acad::eOk);
    const AcDbObjectId innerCreated = addRecord(30);
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(id), 2);
    EXPECT_EQ(readValue(outerCreated), 20);
    EXPECT_FALSE(innerCreated.isValid());
    ASSERT_EQ(tm()->endTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(id), 2);
    EXPECT_TRUE(outerCreated.isValid());
}

TEST_F(DbTransaction, InnerCommitHandsItsUndoToTheOuterAbort) {
    const AcDbObjectId id = addRecord(1);
    tm()->startTransaction();
    tm()->startTransaction();
    ASSERT_EQ(writeValue(id, 2), Acad::eOk);
    const AcDbObjectId created = addRecord();
    ASSERT_EQ(tm()->endTransaction(), Acad::eOk);
    ASSERT_EQ(writeValue(id, 3), Acad::eOk);
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(id), 1);
    EXPECT_FALSE(created.isValid());
}

TEST_F(DbTransaction, AbortAlsoUndoesWhatReactorsDidDuringIt) {
    const AcDbObjectId source = addRecord();
    const AcDbObjectId counter = addRecord(7);
    attachLink(source, counter);
    ASSERT_EQ(readValue(counter), 8);
    tm()->startTransaction();
    ASSERT_EQ(writeValue(source, 1), Acad::eOk);
    EXPECT_EQ(readValue(counter), 9);
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(counter), 8);
}

TEST_F(DbTransaction, ObjectsObtainedThroughTheTransactionCloseAtItsEnd) {
    const AcDbObjectId id = addRecord(1);
    const AcDbObjectId counter = addRecord();
    attachLink(id, counter);
    AcTransaction* tr = tm()->startTransaction();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(tr->getObject(obj, id, AcDb::kForRead), Acad::eOk);
    AcDbObject* again = nullptr;
    ASSERT_EQ(tm()->getObject(again, id, AcDb::kForWrite), Acad::eOk); // upgraded in place
    EXPECT_EQ(again, obj);
    DbTestRecord::cast(obj)->setValue(9);
    EXPECT_EQ(readValue(counter), 1); // still open: nothing sent yet
    ASSERT_EQ(tm()->endTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(counter), 2);
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    obj->close();
    EXPECT_EQ(tm()->getObject(obj, id, AcDb::kForRead), Acad::eNoActiveTransactions);
}

TEST_F(DbTransaction, AnObjectStillOpenWhenItsCreationIsAbortedGoesAtItsClose) {
    tm()->startTransaction();
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* record = new DbTestRecord;
    AcDbObjectId id;
    ASSERT_EQ(nod->setAt(L"kept open", record, id), Acad::eOk);
    nod->close();
    ASSERT_EQ(tm()->abortTransaction(), Acad::eOk);
    EXPECT_FALSE(id.isValid());
    EXPECT_TRUE(record->objectId().isNull());
    EXPECT_EQ(record->close(), Acad::eOk); // deletes it; the sanitizer build checks that
}
