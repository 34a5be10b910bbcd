#include "db_test_support.h"

using DbOpenClose = DbTest;

TEST_F(DbOpenClose, RefusedOpensAnswerWhyAndOpenNothing) {
    const AcDbObjectId id = addRecord();
    AcDbObject* reader = nullptr;
    AcDbObject* other = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(reader, id, AcDb::kForRead), Acad::eOk);
    AcDbObject* second = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(second, id, AcDb::kForRead), Acad::eOk); // many readers
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(reader->upgradeOpen(), Acad::eWasOpenForRead);
    second->close();
    ASSERT_EQ(reader->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenAcDbObject(other, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(reader->downgradeOpen(), Acad::eOk);
    EXPECT_TRUE(reader->isReadEnabled());
    EXPECT_FALSE(reader->isWriteEnabled());
    EXPECT_EQ(reader->close(), Acad::eOk);
    EXPECT_EQ(reader->close(), Acad::eInvalidOpenState);

    EXPECT_EQ(acdbOpenAcDbObject(other, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_EQ(entity, nullptr);
    DbTestLink* link = nullptr;
    EXPECT_EQ(acdbOpenObject(link, id, AcDb::kForRead), Acad::eNotThatKindOfClass);
}

TEST_F(DbOpenClose, ErasedObjectsOpenOnlyOnRequestAndKeepTheirId) {
    const AcDbObjectId id = addRecord();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(obj->erase(), Acad::eOk);
    EXPECT_EQ(obj->erase(), Acad::eWasErased);
    obj->close();
    EXPECT_TRUE(id.isValid());
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForRead), Acad::eWasErased);
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite, true), Acad::eOk);
    EXPECT_EQ(obj->erase(false), Acad::eOk);
    EXPECT_EQ(obj->erase(false), Acad::eWasNotErased);
    obj->close();
    EXPECT_FALSE(id.isErased());
}

TEST_F(DbOpenClose, NonResidentObjectsNeedNoOpeningAndAreDeleted) {
    auto* record = new DbTestRecord;
    EXPECT_TRUE(record->isReadEnabled());
    EXPECT_TRUE(record->isWriteEnabled());
    EXPECT_EQ(record->setValue(7), Acad::eOk);
    EXPECT_EQ(record->value(), 7);
    EXPECT_TRUE(record->objectId().isNull());
    EXPECT_EQ(record->database(), nullptr);
    EXPECT_EQ(record->close(), Acad::eNotInDatabase);
    EXPECT_EQ(record->erase(), Acad::eNotInDatabase);
    delete record;
}

TEST_F(DbOpenClose, ChangingAnObjectNotOpenForWriteEndsTheHost) {
    const AcDbObjectId id = addRecord();
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(record->setValue(1), DbAbortSeen);
    EXPECT_EQ(record->setOwnerId(AcDbObjectId::kNull), Acad::eNotOpenForWrite);
    EXPECT_EQ(record->erase(), Acad::eNotOpenForWrite);
    record->close();
    EXPECT_THROW(record->value(), DbAbortSeen); // closed: not even readable
}

TEST_F(DbOpenClose, PersistentReactorHearsEachModifyingCloseOnce) {
    const AcDbObjectId source = addRecord();
    const AcDbObjectId counter = addRecord();
    const AcDbObjectId link = attachLink(source, counter);
    // Attaching changed the source, so the new link heard of that already.
    EXPECT_EQ(readValue(counter), 1);
    DbTestLink::s_events.clear();

    ASSERT_EQ(writeValue(source, 5), Acad::eOk);
    ASSERT_EQ(DbTestLink::s_events.size(), 1u);
    EXPECT_EQ(DbTestLink::s_events[0].link, link);
    EXPECT_EQ(DbTestLink::s_events[0].source, source);
    EXPECT_EQ(readValue(counter), 2);

    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForRead), Acad::eOk);
    obj->close();
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForWrite), Acad::eOk);
    obj->close(); // opened for write but not changed
    EXPECT_EQ(DbTestLink::s_events.size(), 1u);

    ASSERT_EQ(writeValue(source, 6), Acad::eOk);
    EXPECT_EQ(readValue(counter), 3);

    // Taken off again, the link hears nothing more.
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(obj->removePersistentReactor(link), Acad::eOk);
    EXPECT_EQ(obj->removePersistentReactor(link), Acad::eKeyNotFound);
    obj->close();
    ASSERT_EQ(writeValue(source, 7), Acad::eOk);
    EXPECT_EQ(readValue(counter), 3);
}

TEST_F(DbOpenClose, ReactorChainReachesTheEndAndACycleStops) {
    const AcDbObjectId a = addRecord();
    const AcDbObjectId b = addRecord();
    const AcDbObjectId c = addRecord();
    attachLink(a, b);
    attachLink(b, c);
    ASSERT_EQ(readValue(b), 1); // attaching changed a
    ASSERT_EQ(readValue(c), 1); // and b
    DbTestLink::s_events.clear();
    ASSERT_EQ(writeValue(a, 1), Acad::eOk);
    EXPECT_EQ(readValue(b), 2);
    EXPECT_EQ(readValue(c), 2);

    // c's reactor writes a, which is still sending its notifications: refused, so the cycle ends.
    attachLink(c, a);
    const Adesk::Int32 b0 = readValue(b);
    const Adesk::Int32 c0 = readValue(c);
    DbTestLink::s_events.clear();
    ASSERT_EQ(writeValue(a, 10), Acad::eOk);
    ASSERT_EQ(DbTestLink::s_events.size(), 3u);
    EXPECT_EQ(DbTestLink::s_events[2].source, c);
    EXPECT_EQ(DbTestLink::s_events[2].openStatus, Acad::eWasNotifying);
    EXPECT_EQ(readValue(a), 10);
    EXPECT_EQ(readValue(b), b0 + 1);
    EXPECT_EQ(readValue(c), c0 + 1);
}

// Each reactor's close waits until the one before has returned, so the stack stays flat however
// long the chain; the links are told in the order their sources closed.
TEST_F(DbOpenClose, ChainOfAHundredThousandReactorsRunsToItsEnd) {
    constexpr int kLength = 100000;
    std::vector<AcDbObjectId> records{addRecord()};
    for (int i = 0; i < kLength; ++i) {
        records.push_back(addRecord());
        attachLink(records[records.size() - 2], records.back());
    }
    DbTestLink::s_events.clear();
    ASSERT_EQ(writeValue(records.front(), 1), Acad::eOk);
    ASSERT_EQ(DbTestLink::s_events.size(), static_cast<std::size_t>(kLength));
    EXPECT_EQ(DbTestLink::s_events[1].source, records[1]);
    EXPECT_EQ(DbTestLink::s_events.back().source, records[kLength - 1]);
    EXPECT_EQ(DbTestLink::s_events.back().openStatus, Acad::eOk);
    EXPECT_EQ(readValue(records.back()), 2);
    // Once the cascade is over everything in it is writable again.
    EXPECT_EQ(writeValue(records[kLength / 2], 7), Acad::eOk);
}

// A reactor that throws ends its cascade half-way; what was still waiting to be told is not
// left marked as waiting, so the next cascade tells everything again from its start.
TEST_F(DbOpenClose, CascadeCutShortByAThrowLeavesTheNextOneWhole) {
    struct Thrown {};
    struct ThrowingReactor : AcDbObjectReactor {
        void modified(const AcDbObject*) override { throw Thrown{}; }
    };
    const AcDbObjectId a = addRecord(), b = addRecord(), c = addRecord(), d = addRecord();
    attachLink(a, b);
    attachLink(b, c);
    attachLink(c, d);
    ThrowingReactor thrower;
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, b, AcDb::kForRead), Acad::eOk);
    record->addReactor(&thrower);
    record->close();
    const Adesk::Int32 b0 = readValue(b), c0 = readValue(c), d0 = readValue(d);

    // b's link writes c, then b's transient reactor throws before c is told.
    EXPECT_THROW(writeValue(a, 1), Thrown);
    EXPECT_EQ(readValue(b), b0 + 1);
    EXPECT_EQ(readValue(c), c0 + 1);
    EXPECT_EQ(readValue(d), d0);

    ASSERT_EQ(acdbOpenObject(record, b, AcDb::kForRead), Acad::eOk);
    record->removeReactor(&thrower);
    record->close();
    DbTestLink::s_events.clear();
    ASSERT_EQ(writeValue(a, 2), Acad::eOk);
    ASSERT_EQ(DbTestLink::s_events.size(), 3u);
    EXPECT_EQ(DbTestLink::s_events[0].source, a);
    EXPECT_EQ(DbTestLink::s_events[2].source, c);
    EXPECT_EQ(readValue(d), d0 + 1);
    // Every object told is writable again.
    for (const AcDbObjectId& id : {a, b, c, d})
        EXPECT_EQ(writeValue(id, 9), Acad::eOk);
}

TEST_F(DbOpenClose, TransientReactorsHearChangesUntilRemoved) {
    const AcDbObjectId id = addRecord();
    DbTestTransientReactor reactor;
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    record->addReactor(&reactor);
    record->setValue(1);
    record->setValue(2);
    record->close();
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    record->erase();
    record->close();
    EXPECT_EQ(reactor.events, (std::vector<std::wstring>{L"openedForModify", L"modified",
                                                         L"openedForModify", L"erased"}));
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite, true), Acad::eOk);
    record->removeReactor(&reactor);
    record->erase(false);
    record->close();
    EXPECT_EQ(reactor.events.size(), 4u);
}

TEST_F(DbOpenClose, ModifiedArrivesAtTheCloseInsideATransaction) {
    const AcDbObjectId source = addRecord();
    const AcDbObjectId counter = addRecord();
    attachLink(source, counter);
    db->transactionManager()->startTransaction();
    ASSERT_EQ(writeValue(source, 3), Acad::eOk);
    EXPECT_EQ(readValue(counter), 2);
    EXPECT_EQ(db->transactionManager()->endTransaction(), Acad::eOk);
    EXPECT_EQ(readValue(counter), 2);
}

TEST_F(DbOpenClose, ErasingAnOwnerErasesWhatItOwnsAndTellsTheirReactors) {
    const AcDbObjectId source = addRecord();
    const AcDbObjectId counter = addRecord();
    const AcDbObjectId link = attachLink(source, counter);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, source, AcDb::kForWrite), Acad::eOk);
    const AcDbObjectId xdict = obj->extensionDictionary();
    DbTestTransientReactor reactor;
    AcDbObject* linkObj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(linkObj, link, AcDb::kForRead), Acad::eOk);
    linkObj->addReactor(&reactor);
    linkObj->close();
    EXPECT_EQ(obj->erase(), Acad::eOk);
    EXPECT_TRUE(xdict.isErased());
    EXPECT_TRUE(link.isErased());
    EXPECT_EQ(reactor.events, std::vector<std::wstring>{L"erased"});
    obj->close();
    EXPECT_FALSE(counter.isErased());
    ASSERT_EQ(acdbOpenAcDbObject(linkObj, link, AcDb::kForRead, true), Acad::eOk);
    linkObj->removeReactor(&reactor);
    linkObj->close();
}

TEST_F(DbOpenClose, ExtensionDictionaryIsMadeOnceAndOwnedByItsObject) {
    const AcDbObjectId id = addRecord();
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(obj->extensionDictionary().isNull());
    ASSERT_EQ(obj->createExtensionDictionary(), Acad::eOk);
    const AcDbObjectId xdict = obj->extensionDictionary();
    EXPECT_EQ(obj->createExtensionDictionary(), Acad::eAlreadyInDb);
    EXPECT_EQ(obj->extensionDictionary(), xdict);
    obj->close();
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, xdict, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(dict->ownerId(), id);
    dict->close();

    auto* loose = new DbTestRecord;
    EXPECT_EQ(loose->createExtensionDictionary(), Acad::eNotInDatabase);
    delete loose;
}

TEST_F(DbOpenClose, CloneCopiesEveryFiledFieldButNotTheAttachments) {
    const AcDbObjectId target = addRecord();
    const AcDbObjectId id = addRecord();
    attachLink(id, target);
    DbTestRecord* record = nullptr;
    ASSERT_EQ(acdbOpenObject(record, id, AcDb::kForWrite), Acad::eOk);
    record->setValue(42);
    record->setText(L"Fläche \U0001F600");
    record->setTarget(target);
    auto* copy = DbTestRecord::cast(record->clone());
    ASSERT_NE(copy, nullptr);
    record->close();
    EXPECT_TRUE(copy->objectId().isNull());
    EXPECT_EQ(copy->value(), 42);
    EXPECT_EQ(copy->text(), L"Fläche \U0001F600");
    EXPECT_EQ(copy->target(), target);
    EXPECT_TRUE(copy->ownerId().isNull());
    EXPECT_TRUE(copy->extensionDictionary().isNull());
    EXPECT_EQ(copy->persistentReactors().length(), 0);
    AcDbObject plain;
    EXPECT_EQ(copy->copyFrom(&plain), Acad::eNotThatKindOfClass);
    delete copy;
}

TEST_F(DbOpenClose, EntityColourAcceptsByBlockToByLayerOnly) {
    const AcDbObjectId id = addEntity(db->modelSpaceId(), 1);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(entity, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(entity->colorIndex(), 1);
    EXPECT_EQ(entity->setColorIndex(257), Acad::eOutOfRange);
    EXPECT_EQ(entity->colorIndex(), 1);
    EXPECT_EQ(entity->setColorIndex(kSvColorByBlock), Acad::eOk);
    EXPECT_EQ(entity->setColorIndex(kSvColorByLayer), Acad::eOk);
    EXPECT_EQ(entity->setLayer(L""), Acad::eInvalidInput);
    EXPECT_EQ(entity->setLayer(L"Labels"), Acad::eOk);
    wchar_t* layer = entity->layer();
    EXPECT_STREQ(layer, L"Labels");
    acutDelBuffer(layer);
    EXPECT_EQ(layer, nullptr);
    EXPECT_EQ(entity->blockId(), db->modelSpaceId());
    entity->close();
}
