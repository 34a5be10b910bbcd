#include <unordered_set>

#include "db_test_support.h"

using DbDatabase = DbTest;

TEST_F(DbDatabase, ANewDrawingHasItsSpacesDictionaryAndVariables) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    AcDbObjectId model;
    AcDbObjectId paper;
    EXPECT_EQ(table->getAt(L"*MODEL_SPACE", model), Acad::eOk);
    EXPECT_EQ(table->getAt(ACDB_PAPER_SPACE, paper), Acad::eOk);
    EXPECT_EQ(model, db->modelSpaceId());
    EXPECT_EQ(paper, db->paperSpaceId());
    std::vector<std::wstring> names;
    AcDbBlockTableIterator* it = nullptr;
    table->newIterator(it, true, true);
    for (; !it->done(); it->step(true, true)) {
        AcDbBlockTableRecord* record = nullptr;
        ASSERT_EQ(it->getRecord(record, AcDb::kForRead), Acad::eOk);
        const wchar_t* name = nullptr;
        record->getName(name);
        names.emplace_back(name);
        EXPECT_TRUE(record->isLayout());
        record->close();
    }
    delete it;
    table->close();
    EXPECT_EQ(names, (std::vector<std::wstring>{ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}));
    EXPECT_TRUE(db->namedObjectsDictionaryId().isValid());

    EXPECT_EQ(db->lunits(), 2);
    EXPECT_EQ(db->luprec(), 4);
    EXPECT_TRUE(db->tilemode());
    EXPECT_EQ(db->currentSpaceId(), db->modelSpaceId());
    AcDbSysVar value;
    ASSERT_EQ(db->getSysVar(L"cmdecho", value), Acad::eOk);
    EXPECT_EQ(value.intValue, 1);
    EXPECT_EQ(db->getSysVar(L"NOSUCHVAR", value), Acad::eKeyNotFound);
}

TEST_F(DbDatabase, SystemVariablesKeepTheirTypeAndRangePerDrawing) {
    EXPECT_EQ(db->setLunits(6), Acad::eOutOfRange);
    EXPECT_EQ(db->setLuprec(-1), Acad::eOutOfRange);
    EXPECT_EQ(db->setSysVar(L"LUNITS", AcDbSysVar::real(2.0)), Acad::eInvalidInput);
    EXPECT_EQ(db->setLunits(4), Acad::eOk);
    EXPECT_EQ(db->setTilemode(false), Acad::eOk);
    EXPECT_EQ(db->currentSpaceId(), db->paperSpaceId());
    AcDbDatabase other;
    EXPECT_EQ(other.lunits(), 2);
    EXPECT_EQ(db->lunits(), 4);

    ASSERT_EQ(svDbDefineSysVar(L"SVTESTVAR", AcDbSysVar::real(1.5), 0.0, 10.0), Acad::eOk);
    EXPECT_EQ(svDbDefineSysVar(L"svtestvar", AcDbSysVar::real(1.5)), Acad::eDuplicateKey);
    AcDbSysVar value;
    ASSERT_EQ(other.getSysVar(L"SvTestVar", value), Acad::eOk);
    EXPECT_EQ(value.realValue, 1.5);
    EXPECT_EQ(other.setSysVar(L"SVTESTVAR", AcDbSysVar::real(11.0)), Acad::eOutOfRange);
    EXPECT_EQ(other.setSysVar(L"SVTESTVAR", AcDbSysVar::int16(3)), Acad::eOk);
    ASSERT_EQ(other.getSysVar(L"SVTESTVAR", value), Acad::eOk);
    EXPECT_EQ(value.type, AcDbSysVar::kReal);
    EXPECT_EQ(value.realValue, 3.0);
}

TEST_F(DbDatabase, IdsStaySafeAfterTheirDatabaseIsGone) {
    auto* other = new AcDbDatabase;
    const AcDbObjectId id = addRecord(1, other);
    const AcDbHandle handle = id.handle();
    EXPECT_FALSE(handle.isNull());
    EXPECT_EQ(id.database(), other);
    AcDbObjectId byHandle;
    ASSERT_EQ(other->getAcDbObjectId(byHandle, false, handle), Acad::eOk);
    EXPECT_EQ(byHandle, id);
    acdbHostApplicationServices()->setWorkingDatabase(other);
    delete other;
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
    EXPECT_FALSE(id.isValid());
    EXPECT_FALSE(id.isErased());
    EXPECT_EQ(id.database(), nullptr);
    EXPECT_TRUE(id.handle().isNull());
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eInvalidObjectId);
    // A database made later never takes over the old ids.
    AcDbDatabase later;
    EXPECT_FALSE(id.isValid());
}

TEST_F(DbDatabase, IdsOrderHashAndNameTheirObjects) {
    std::unordered_set<AcDbObjectId> ids;
    AcDbObjectId previous;
    for (int i = 0; i < 10; ++i) {
        const AcDbObjectId id = addRecord(i);
        EXPECT_TRUE(previous < id);
        EXPECT_TRUE(previous.handle() < id.handle() || previous.isNull());
        previous = id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 10u);
    AcDbObjectId null;
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(null.isValid());
    EXPECT_EQ(null, AcDbObjectId::kNull);

    wchar_t text[17];
    ASSERT_TRUE(AcDbHandle(0x2AF).getIntoAsciiBuffer(text, 17));
    EXPECT_STREQ(text, L"2AF");
    EXPECT_EQ(AcDbHandle(L"2af").value(), 0x2AFu);
    EXPECT_TRUE(AcDbHandle(L"xyz").isNull());
    EXPECT_TRUE(AcDbHandle(L"11112222333344445").isNull()); // does not fit
    EXPECT_FALSE(AcDbHandle(5).getIntoAsciiBuffer(text, 1));
}

TEST_F(DbDatabase, AnIdSurvivesTheTripThroughOneNumber) {
    const AcDbObjectId id = addRecord(1);
    const Adesk::IntDbId number = id.asOldId();
    EXPECT_GT(number, 0);
    AcDbObjectId back;
    EXPECT_EQ(back.setFromOldId(number), id);
    EXPECT_TRUE(back.isValid());
    EXPECT_EQ(AcDbObjectId::kNull.asOldId(), 0);
    EXPECT_TRUE(back.setFromOldId(0).isNull());
    EXPECT_TRUE(back.setFromOldId(-5).isNull()) << "no number names an id of no database";
}

TEST_F(DbDatabase, BlockIteratorSkipsErasedEntitiesOnRequest) {
    const AcDbObjectId a = addEntity(db->modelSpaceId(), 1);
    const AcDbObjectId b = addEntity(db->modelSpaceId(), 2);
    const AcDbObjectId c = addEntity(db->modelSpaceId(), 3);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, b, AcDb::kForWrite), Acad::eOk);
    entity->erase();
    entity->close();
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, db->modelSpaceId(), AcDb::kForRead), Acad::eOk);
    auto walk = [space](bool skip) {
        std::vector<AcDbObjectId> seen;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it, true, skip);
        for (; !it->done(); it->step(true, skip)) {
            AcDbObjectId id;
            it->getEntityId(id);
            seen.push_back(id);
        }
        delete it;
        return seen;
    };
    EXPECT_EQ(walk(true), (std::vector<AcDbObjectId>{a, c}));
    EXPECT_EQ(walk(false), (std::vector<AcDbObjectId>{a, b, c}));
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it, false, true);
    ASSERT_EQ(it->getEntity(entity, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(entity->colorIndex(), 3);
    entity->close();
    it->step(false, true);
    AcDbObjectId id;
    it->getEntityId(id);
    EXPECT_EQ(id, a);
    delete it;
    auto* loose = new AcDbEntity;
    EXPECT_EQ(space->appendAcDbEntity(loose), Acad::eNotOpenForWrite);
    delete loose;
    space->close();
}

TEST_F(DbDatabase, CountHardReferencesCountsLiveHardLinksOnly) {
    const AcDbObjectId style = addRecord();
    const AcDbObjectId label = addRecord();
    const AcDbObjectId unused = addRecord();
    AcDbObjectIdArray ids;
    ids.append(style);
    ids.append(label);
    ids.append(unused);
    std::vector<AcDbObjectId> users;
    for (int i = 0; i < 3; ++i) {
        const AcDbObjectId user = addRecord();
        DbTestRecord* record = nullptr;
        EXPECT_EQ(acdbOpenObject(record, user, AcDb::kForWrite), Acad::eOk);
        record->setTarget(style); // hard
        record->setLabel(label);  // soft: not counted
        record->close();
        users.push_back(user);
    }
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, users[0], AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
    // The two live users point at the style; the named-object dictionary owns all three softly.
    Adesk::UInt32 counts[3] = {0, 0, 0};
    ASSERT_EQ(db->countHardReferences(ids, counts), Acad::eOk);
    EXPECT_EQ(counts[0], 2u);
    EXPECT_EQ(counts[1], 0u);
    EXPECT_EQ(counts[2], 0u);

    // Who refers to what, hard and soft alike, the erased user left out; ownership is not
    // referring.
    const std::vector<AcDbObjectIdArray> referring =
        svDbReferencesTo(db, {style, label, unused, style});
    AcDbObjectIdArray live;
    live.append(users[1]);
    live.append(users[2]);
    ASSERT_EQ(referring.size(), 4u);
    EXPECT_EQ(referring[0], live);
    EXPECT_EQ(referring[1], live);
    EXPECT_TRUE(referring[2].isEmpty());
    EXPECT_EQ(referring[3], live) << "a target asked twice is answered twice";

    // A dictionary that treats its entries as hard holds them as hard references.
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    nod->setTreatElementsAsHard(true);
    nod->close();
    Adesk::UInt32 hard[3] = {0, 0, 0};
    ASSERT_EQ(db->countHardReferences(ids, hard), Acad::eOk);
    EXPECT_EQ(hard[0], 3u);
    EXPECT_EQ(hard[2], 1u);
}

TEST_F(DbDatabase, SymbolTableRefusesDuplicateAndForeignRecords) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbBlockTableRecord;
    record->setName(L"*model_space");
    EXPECT_EQ(table->add(record), Acad::eDuplicateRecordName);
    record->setName(L"Marker");
    AcDbObjectId id;
    ASSERT_EQ(table->add(id, record), Acad::eOk);
    EXPECT_EQ(record->setName(L"*Paper_Space"), Acad::eDuplicateRecordName);
    record->close();
    auto* plain = new AcDbSymbolTableRecord;
    plain->setName(L"Other");
    EXPECT_EQ(table->add(plain), Acad::eWrongObjectType);
    delete plain;
    EXPECT_TRUE(table->has(L"MARKER"));
    EXPECT_TRUE(table->has(id));
    table->close();
}

TEST(DbArray, LengthsFollowTheGrowLength) {
    AcDbObjectIdArray ids(0, 8);
    EXPECT_EQ(ids.physicalLength(), 0);
    EXPECT_EQ(ids.growLength(), 8);
    AcArray<int> a(0, 8);
    a.append(1);
    EXPECT_EQ(a.physicalLength(), 8);
    for (int i = 2; i <= 9; ++i)
        a.append(i);
    EXPECT_EQ(a.logicalLength(), 9);
    EXPECT_EQ(a.physicalLength(), 16);
    a.setLogicalLength(0);
    EXPECT_EQ(a.physicalLength(), 16); // storage kept
    a.setLogicalLength(3);
    EXPECT_EQ(a[2], 0); // elements coming back into use start fresh
    a.setPhysicalLength(2);
    EXPECT_EQ(a.logicalLength(), 2);
    a.setLogicalLength(20);
    EXPECT_GE(a.physicalLength(), 20);
}

TEST(DbArray, FindRemoveAndInsert) {
    AcArray<int> a;
    for (int v : {5, 6, 7, 6})
        a.append(v);
    int at = -1;
    EXPECT_TRUE(a.find(6, at));
    EXPECT_EQ(at, 1);
    EXPECT_TRUE(a.find(6, at, 2));
    EXPECT_EQ(at, 3);
    EXPECT_FALSE(a.contains(8));
    a.removeAt(1);
    EXPECT_EQ(a, ([] {
                  AcArray<int> e;
                  for (int v : {5, 7, 6})
                      e.append(v);
                  return e;
              }()));
    a.insertAt(0, 4);
    EXPECT_EQ(a.first(), 4);
    EXPECT_EQ(a.last(), 6);
    EXPECT_EQ(a.find(9), -1);
}

TEST(DbArray, AppendingAnElementOfAFullArrayCopiesItBeforeMoving) {
    AcArray<std::wstring> a(1, 1);
    a.append(L"first element, long enough to live on the heap");
    a.append(a[0]);
    EXPECT_EQ(a[1], a[0]);
}

TEST(DbArray, IndexOutsideTheArrayEndsTheHost) {
    acrxSetAbortHandler([](const wchar_t*) { throw DbAbortSeen("abort"); });
    AcArray<int> a;
    a.append(1);
    EXPECT_THROW(a[1], DbAbortSeen);
    EXPECT_THROW(a.removeAt(-1), DbAbortSeen);
    EXPECT_THROW(a.insertAt(3, 0), DbAbortSeen);
    acrxSetAbortHandler(nullptr);
}

TEST_F(DbDatabase, InvalidationCountMovesExactlyWhenIdsStopBeingValid) {
    const AcDbObjectId kept = addRecord(1);
    Adesk::UInt64 count = svDbIdInvalidationCount();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, kept, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
    EXPECT_EQ(svDbIdInvalidationCount(), count) << "an erased object keeps a valid id";

    db->transactionManager()->startTransaction();
    const AcDbObjectId takenBack = addRecord(2);
    db->transactionManager()->abortTransaction();
    EXPECT_FALSE(takenBack.isValid());
    EXPECT_GT(svDbIdInvalidationCount(), count);

    count = svDbIdInvalidationCount();
    auto* other = new AcDbDatabase;
    const AcDbObjectId elsewhere = addRecord(3, other);
    delete other;
    EXPECT_FALSE(elsewhere.isValid());
    EXPECT_GT(svDbIdInvalidationCount(), count);
}
