#include "db/undo.h"
#include "db_test_support.h"

namespace {

class DbUndo : public DbTest {
protected:
    // One command: opens its scope, runs `body`, ends the scope kept or not.
    template <class Body>
    void command(Body body, bool keep = true) {
        SvDbCommandScope scope;
        ASSERT_EQ(svDbBeginCommandScope(db, scope), Acad::eOk);
        body();
        svDbEndCommandScope(scope, keep);
    }

    int undo(int count = 1) {
        int undone = -1;
        EXPECT_EQ(svDbUndo(db, count, undone), Acad::eOk);
        return undone;
    }

    int redo() {
        int redone = -1;
        EXPECT_EQ(svDbRedo(db, redone), Acad::eOk);
        return redone;
    }

    bool erased(AcDbObjectId id) {
        AcDbObject* obj = nullptr;
        if (acdbOpenAcDbObject(obj, id, AcDb::kForRead, true) != Acad::eOk)
            return false;
        const bool result = obj->isErased();
        obj->close();
        return result;
    }
};

} // namespace

TEST_F(DbUndo, AStepTakesBackChangesAndErasesWhatItCreatedKeepingTheIds) {
    const AcDbObjectId changed = addRecord(1);
    const AcDbObjectId victim = addRecord(2);
    AcDbObjectId created;
    command([&] {
        writeValue(changed, 10);
        writeValue(changed, 11); // a second change of the same object is the same entry
        AcDbObject* obj = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(obj, victim, AcDb::kForWrite), Acad::eOk);
        obj->erase();
        obj->close();
        created = addRecord(5);
    });
    ASSERT_EQ(svDbUndoSteps(db), 1);

    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(readValue(changed), 1);
    EXPECT_FALSE(erased(victim));
    EXPECT_EQ(readValue(victim), 2);
    ASSERT_TRUE(created.isValid());
    EXPECT_TRUE(erased(created));
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(nod->has(created));
    nod->close();
    EXPECT_EQ(svDbUndoSteps(db), 0);
    EXPECT_EQ(svDbRedoSteps(db), 1);

    EXPECT_EQ(redo(), 1);
    EXPECT_EQ(readValue(changed), 11);
    EXPECT_TRUE(erased(victim));
    EXPECT_FALSE(erased(created));
    EXPECT_EQ(readValue(created), 5);
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(nod->has(created));
    nod->close();
    EXPECT_EQ(svDbUndoSteps(db), 1);
    EXPECT_EQ(redo(), 0) << "one undo is redone once";
}

// Objects far apart in the drawing, each changed twice, some out of order: every one comes back
// to its state before the command, and redo to its last.
TEST_F(DbUndo, ACommandOverManyObjectsKeepsEachFirstState) {
    std::vector<AcDbObjectId> records;
    for (int i = 0; i < 300; ++i)
        records.push_back(addRecord(i));
    command([&] {
        for (int i = 299; i >= 0; i -= 3)
            writeValue(records[i], 1000 + i);
        for (int i = 0; i < 300; ++i)
            writeValue(records[i], 2000 + i);
    });
    EXPECT_EQ(undo(), 1);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(readValue(records[i]), i) << i;
    EXPECT_EQ(redo(), 1);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(readValue(records[i]), 2000 + i) << i;
}

TEST_F(DbUndo, AFailedCommandLeavesNothingBehindAndNoStep) {
    const AcDbObjectId changed = addRecord(1);
    AcDbObjectId created;
    AcDbObjectId entity;
    command(
        [&] {
            writeValue(changed, 7);
            created = addRecord(5);
            entity = addEntity(db->modelSpaceId());
        },
        false);
    EXPECT_EQ(readValue(changed), 1);
    EXPECT_FALSE(created.isValid());
    EXPECT_FALSE(entity.isValid());
    EXPECT_TRUE(spaceIsEmpty(db->modelSpaceId()));
    EXPECT_EQ(svDbUndoSteps(db), 0);
}

TEST_F(DbUndo, ALinkedLabelComesBackWithItsSourceAndTheLinkDoesNotFireAgain) {
    const AcDbObjectId source = addRecord(1);
    const AcDbObjectId label = addRecord(0);
    attachLink(source, label);
    const Adesk::Int32 before = readValue(label);
    DbTestLink::s_events.clear();
    command([&] { writeValue(source, 2); });
    ASSERT_EQ(readValue(label), before + 1) << "the link wrote the label inside the command";
    DbTestTransientReactor watcher;
    {
        AcDbObject* obj = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForRead), Acad::eOk);
        obj->addReactor(&watcher);
        obj->close();
    }

    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(readValue(source), 1);
    EXPECT_EQ(readValue(label), before);
    EXPECT_EQ(redo(), 1);
    EXPECT_EQ(readValue(source), 2);
    EXPECT_EQ(readValue(label), before + 1);
    EXPECT_EQ(DbTestLink::s_events.size(), 1u) << "restoring is not a change to react to";
    EXPECT_EQ(watcher.events, (std::vector<std::wstring>{L"modifyUndone", L"modifyUndone"}));
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForRead), Acad::eOk);
    obj->removeReactor(&watcher);
    obj->close();
}

TEST_F(DbUndo, CountsBatchesAndTheBoundOfTheHistory) {
    const AcDbObjectId id = addRecord(0);
    for (int value = 1; value <= kSvDbUndoLimit + 5; ++value)
        command([&] { writeValue(id, value); });
    EXPECT_EQ(svDbUndoSteps(db), kSvDbUndoLimit) << "the oldest steps are dropped";

    EXPECT_EQ(undo(3), 3);
    EXPECT_EQ(readValue(id), kSvDbUndoLimit + 2);
    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(redo(), 1);
    EXPECT_EQ(redo(), 3);
    EXPECT_EQ(readValue(id), kSvDbUndoLimit + 5);

    EXPECT_EQ(undo(1000), kSvDbUndoLimit);
    EXPECT_EQ(readValue(id), 5) << "the state after the oldest step kept";
    EXPECT_EQ(undo(), 0);
    int undone = 0;
    EXPECT_EQ(svDbUndo(db, 0, undone), Acad::eInvalidInput);
    EXPECT_EQ(svDbUndo(nullptr, 1, undone), Acad::eNoDatabase);
}

TEST_F(DbUndo, OnlyAChangingCommandForgetsWhatCouldBeRedone) {
    const AcDbObjectId id = addRecord(0);
    command([&] { writeValue(id, 1); });
    command([&] { writeValue(id, 2); });
    EXPECT_EQ(undo(), 1);
    command([&] { readValue(id); });
    command([&] { addRecord(0, nullptr); }, false);
    EXPECT_EQ(svDbRedoSteps(db), 1);
    command([&] { writeValue(id, 3); });
    EXPECT_EQ(svDbRedoSteps(db), 0);
    EXPECT_EQ(redo(), 0);
    EXPECT_EQ(readValue(id), 3);
}

TEST_F(DbUndo, ATransactionAbortedInsideTheCommandLeavesOnlyWhatItKept) {
    const AcDbObjectId kept = addRecord(1);
    const AcDbObjectId aborted = addRecord(1);
    AcDbObjectId createdInAbort;
    command([&] {
        writeValue(kept, 2);
        db->transactionManager()->startTransaction();
        writeValue(kept, 3);
        writeValue(aborted, 3);
        createdInAbort = addRecord(4);
        db->transactionManager()->abortTransaction();
    });
    EXPECT_EQ(readValue(kept), 2);
    EXPECT_FALSE(createdInAbort.isValid());
    EXPECT_EQ(undo(), 1);
    EXPECT_EQ(readValue(kept), 1);
    EXPECT_EQ(readValue(aborted), 1);
    EXPECT_EQ(redo(), 1);
    EXPECT_EQ(readValue(kept), 2);
    EXPECT_EQ(readValue(aborted), 1);
}

TEST_F(DbUndo, RefusedWhileSomethingIsUnderWayAndTheHistoryStays) {
    const AcDbObjectId id = addRecord(0);
    command([&] { writeValue(id, 1); });
    int undone = -1;

    db->transactionManager()->startTransaction();
    EXPECT_EQ(svDbUndo(db, 1, undone), Acad::eInvalidOpenState);
    db->transactionManager()->endTransaction();

    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(svDbUndo(db, 1, undone), Acad::eWasOpenForWrite);
    obj->close();

    // An UNDO inside a command that has changed things would tear that command apart.
    command([&] {
        writeValue(addRecord(0), 1);
        EXPECT_EQ(svDbUndo(db, 1, undone), Acad::eInvalidOpenState);
    });
    EXPECT_EQ(undone, 0);
    EXPECT_EQ(readValue(id), 1);
    EXPECT_EQ(svDbUndoSteps(db), 2);

    // Inside a command that has changed nothing, as the UNDO command runs, it is allowed.
    command([&] { EXPECT_EQ(undo(2), 2); });
    EXPECT_EQ(readValue(id), 0);
    EXPECT_EQ(svDbUndoSteps(db), 0) << "undoing is no step of its own";
}

TEST_F(DbUndo, ScopesDoNotNestAndEndWithTheirDatabase) {
    SvDbCommandScope outer;
    ASSERT_EQ(svDbBeginCommandScope(db, outer), Acad::eOk);
    SvDbCommandScope inner;
    EXPECT_EQ(svDbBeginCommandScope(db, inner), Acad::eInvalidOpenState);
    EXPECT_EQ(svDbBeginCommandScope(nullptr, inner), Acad::eNoDatabase);
    svDbEndCommandScope(outer, true);

    auto* other = new AcDbDatabase;
    SvDbCommandScope closing;
    ASSERT_EQ(svDbBeginCommandScope(other, closing), Acad::eOk);
    addRecord(1, other);
    delete other;
    svDbEndCommandScope(closing, true); // the drawing was closed by its command
    svDbEndCommandScope(closing, false);
    EXPECT_EQ(svDbUndoSteps(db), 0);
}

TEST_F(DbUndo, SystemVariablesGoWithTheirCommand) {
    ASSERT_EQ(db->setLuprec(3), Acad::eOk);
    command([&] { db->setLuprec(6); });
    command([&] { db->setLuprec(1); }, false);
    EXPECT_EQ(db->luprec(), 6) << "a failed command sets nothing";
    command([&] { EXPECT_EQ(undo(), 1); });
    EXPECT_EQ(db->luprec(), 3);
    EXPECT_EQ(svDbRedoSteps(db), 1) << "undoing the variables is not setting them";
    EXPECT_EQ(redo(), 1);
    EXPECT_EQ(db->luprec(), 6);
}

// The count tells a saved drawing from a changed one, also at the bound of the history, where
// the number of steps stops growing.
TEST_F(DbUndo, TheChangeCountGrowsWithEveryStepKeptUndoneOrRedone) {
    const AcDbObjectId id = addRecord(0);
    for (int value = 1; value <= kSvDbUndoLimit; ++value)
        command([&] { writeValue(id, value); });
    const std::uint64_t full = svDbChangeCount(db);
    command([&] { writeValue(id, -1); });
    EXPECT_EQ(svDbChangeCount(db), full + 1) << "one more step, the history as long as before";
    command([&] { readValue(id); });
    command([&] { writeValue(id, -2); }, false);
    EXPECT_EQ(svDbChangeCount(db), full + 1) << "no step: nothing changed";
    undo();
    redo();
    EXPECT_EQ(svDbChangeCount(db), full + 3);
    EXPECT_EQ(redo(), 0);
    EXPECT_EQ(svDbChangeCount(db), full + 3) << "nothing redone";
    EXPECT_EQ(svDbChangeCount(nullptr), 0u);
}
