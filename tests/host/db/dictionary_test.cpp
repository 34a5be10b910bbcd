#include <set>

#include "db_test_support.h"

namespace {

class DbDictionary : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    }
    void TearDown() override {
        if (nod != nullptr)
            nod->close();
        DbTest::TearDown();
    }
    AcDbObjectId put(const wchar_t* key, Adesk::Int32 value, Acad::ErrorStatus expected) {
        auto* record = new DbTestRecord;
        record->setValue(value);
        AcDbObjectId id;
        EXPECT_EQ(nod->setAt(key, record, id), expected);
        if (expected == Acad::eOk)
            record->close();
        else
            delete record; // refused: still the caller's
        return id;
    }
    std::vector<std::wstring> keys() {
        std::vector<std::wstring> out;
        AcDbDictionaryIterator* it = nod->newIterator();
        for (; !it->done(); it->next())
            out.emplace_back(it->name());
        delete it;
        return out;
    }
    AcDbDictionary* nod = nullptr;
};

} // namespace

TEST_F(DbDictionary, AnonymousKeysAreNewEachTime) {
    std::set<std::wstring> names;
    std::set<AcDbObjectId> ids;
    for (int i = 0; i < 5; ++i) {
        const AcDbObjectId id = put(L"*U", i, Acad::eOk);
        ids.insert(id);
        wchar_t* name = nullptr;
        ASSERT_EQ(nod->nameAt(id, name), Acad::eOk);
        EXPECT_EQ(name[0], L'*');
        names.insert(name);
        acutDelBuffer(name);
    }
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_EQ(nod->numEntries(), 5u);
}

TEST_F(DbDictionary, DuplicateKeyIsRefusedAndTheFirstEntrySurvives) {
    const AcDbObjectId first = put(L"Style", 1, Acad::eOk);
    put(L"STYLE", 2, Acad::eDuplicateKey);
    AcDbObjectId found;
    ASSERT_EQ(nod->getAt(L"style", found), Acad::eOk);
    EXPECT_EQ(found, first);
    EXPECT_FALSE(first.isErased());
    EXPECT_EQ(readValue(first), 1);
    EXPECT_EQ(nod->numEntries(), 1u);
}

TEST_F(DbDictionary, KeysMatchWithoutCaseAndKeepTheirOwnCase) {
    const AcDbObjectId id = put(L"Area m2", 1, Acad::eOk);
    EXPECT_TRUE(nod->has(L"AREA M2"));
    EXPECT_TRUE(nod->has(id));
    AcDbObject* obj = nullptr;
    ASSERT_EQ(nod->getAt(L"area M2", obj, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(obj->objectId(), id);
    EXPECT_EQ(obj->ownerId(), nod->objectId());
    obj->close();
    EXPECT_EQ(keys(), std::vector<std::wstring>{L"Area m2"});
    AcDbObjectId none;
    EXPECT_EQ(nod->getAt(L"Length", none), Acad::eKeyNotFound);
    EXPECT_TRUE(none.isNull());
}

TEST_F(DbDictionary, IteratesInInsertionOrderAndSetPositionFindsById) {
    put(L"b", 1, Acad::eOk);
    const AcDbObjectId a = put(L"a", 2, Acad::eOk);
    put(L"c", 3, Acad::eOk);
    EXPECT_EQ(keys(), (std::vector<std::wstring>{L"b", L"a", L"c"}));
    AcDbDictionaryIterator* it = nod->newIterator();
    ASSERT_TRUE(it->setPosition(a));
    EXPECT_STREQ(it->name(), L"a");
    EXPECT_EQ(it->objectId(), a);
    EXPECT_FALSE(it->setPosition(AcDbObjectId::kNull));
    EXPECT_STREQ(it->name(), L"a"); // a failed search keeps the position
    AcDbObject* obj = nullptr;
    ASSERT_EQ(it->getObject(obj, AcDb::kForRead), Acad::eOk);
    obj->close();
    delete it;
}

TEST_F(DbDictionary, RemoveByKeyOrIdKeepsTheObject) {
    const AcDbObjectId a = put(L"a", 1, Acad::eOk);
    const AcDbObjectId b = put(L"b", 2, Acad::eOk);
    AcDbObjectId removed;
    ASSERT_EQ(nod->remove(L"A", removed), Acad::eOk);
    EXPECT_EQ(removed, a);
    EXPECT_EQ(nod->remove(L"a"), Acad::eKeyNotFound);
    ASSERT_EQ(nod->remove(b), Acad::eOk);
    EXPECT_EQ(nod->remove(b), Acad::eKeyNotFound);
    EXPECT_EQ(nod->numEntries(), 0u);
    EXPECT_TRUE(a.isValid());
    EXPECT_FALSE(a.isErased());
    // The key is free again.
    put(L"a", 3, Acad::eOk);
}

TEST_F(DbDictionary, ErasedEntriesAreNotFoundAndGiveWayToANewOne) {
    const AcDbObjectId a = put(L"a", 1, Acad::eOk);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, a, AcDb::kForWrite), Acad::eOk);
    obj->erase();
    obj->close();
    EXPECT_FALSE(nod->has(L"a"));
    EXPECT_EQ(nod->numEntries(), 0u);
    EXPECT_TRUE(keys().empty());
    const AcDbObjectId again = put(L"a", 2, Acad::eOk);
    EXPECT_NE(again, a);
}

TEST_F(DbDictionary, EntriesAreErasedWithTheirDictionary) {
    auto* inner = new AcDbDictionary;
    AcDbObjectId innerId;
    ASSERT_EQ(nod->setAt(L"Styles", inner, innerId), Acad::eOk);
    auto* record = new DbTestRecord;
    AcDbObjectId recordId;
    ASSERT_EQ(inner->setAt(L"One", record, recordId), Acad::eOk);
    record->close();
    EXPECT_EQ(inner->erase(), Acad::eOk);
    inner->close();
    EXPECT_TRUE(recordId.isErased());
    EXPECT_FALSE(nod->has(L"Styles"));
}

TEST_F(DbDictionary, SetAtNeedsWriteAndAKey) {
    auto* record = new DbTestRecord;
    AcDbObjectId id;
    EXPECT_EQ(nod->setAt(L"", record, id), Acad::eInvalidKey);
    EXPECT_EQ(nod->setAt(nullptr, record, id), Acad::eInvalidKey);
    EXPECT_EQ(nod->setAt(L"x", nullptr, id), Acad::eNullObjectPointer);
    nod->downgradeOpen();
    EXPECT_EQ(nod->setAt(L"x", record, id), Acad::eNotOpenForWrite);
    EXPECT_TRUE(record->objectId().isNull());
    delete record;
}
