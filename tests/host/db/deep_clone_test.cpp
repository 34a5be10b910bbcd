// Deep clones: an entity's copy takes its extension dictionary along, and references among the
// copies are mapped onto the copies.
#include "db/idmapping.h"
#include "db_test_support.h"

namespace {

class DbDeepClone : public DbTest {
protected:
    // A record kept in the entity's own extension dictionary, so that it is cloned with it.
    AcDbObjectId addOwnedRecord(AcDbObjectId entityId, Adesk::Int32 value) {
        AcDbObject* entity = nullptr;
        EXPECT_EQ(acdbOpenAcDbObject(entity, entityId, AcDb::kForWrite), Acad::eOk);
        if (!entity->extensionDictionary().isValid()) {
            EXPECT_EQ(entity->createExtensionDictionary(), Acad::eOk);
        }
        AcDbDictionary* xdict = nullptr;
        EXPECT_EQ(acdbOpenObject(xdict, entity->extensionDictionary(), AcDb::kForWrite), Acad::eOk);
        auto* record = new DbTestRecord;
        record->setValue(value);
        AcDbObjectId id;
        EXPECT_EQ(xdict->setAt(L"NOTE", record, id), Acad::eOk);
        record->close();
        xdict->close();
        entity->close();
        return id;
    }

    AcDbObjectId copyOf(AcDbObjectId original) const {
        AcDbIdPair pair(original, AcDbObjectId(), false);
        EXPECT_TRUE(map.compute(pair));
        EXPECT_TRUE(pair.isCloned());
        return pair.value();
    }

    static AcDbObjectIdArray reactorsOf(AcDbObjectId id) {
        AcDbObject* object = nullptr;
        EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eOk);
        const AcDbObjectIdArray reactors = object->persistentReactors();
        object->close();
        return reactors;
    }

    static AcDbObjectId linkTarget(AcDbObjectId link) {
        DbTestLink* opened = nullptr;
        EXPECT_EQ(acdbOpenObject(opened, link, AcDb::kForRead), Acad::eOk);
        const AcDbObjectId target = opened->target();
        opened->close();
        return target;
    }

    static void touch(AcDbObjectId id) {
        AcDbObject* object = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForWrite), Acad::eOk);
        object->recordGraphicsModified();
        object->close();
    }

    AcDbObjectId cloneOne(AcDbObjectId entity) {
        AcDbObjectIdArray ids;
        ids.append(entity);
        EXPECT_EQ(db->deepCloneObjects(ids, db->modelSpaceId(), map), Acad::eOk);
        return copyOf(entity);
    }

    AcDbIdMapping map;
};

// A reactor and its target cloned together: the copy reacts through its own reactor, which
// writes the copied target, and nothing was told while the copies were made.
TEST_F(DbDeepClone, OwnedReactorsAndTheirReferencesFollowTheCopy) {
    const AcDbObjectId source = addEntity(db->modelSpaceId(), 3);
    const AcDbObjectId record = addOwnedRecord(source, 10);
    const AcDbObjectId link = attachLink(source, record);
    const Adesk::Int32 before = readValue(record); // attaching told the link once
    DbTestLink::s_events.clear();

    const AcDbObjectId copy = cloneOne(source);
    EXPECT_TRUE(DbTestLink::s_events.empty());
    AcDbIdPair primary(source, AcDbObjectId(), false);
    ASSERT_TRUE(map.compute(primary));
    EXPECT_TRUE(primary.isPrimary());
    const AcDbObjectId copiedLink = copyOf(link), copiedRecord = copyOf(record);
    EXPECT_NE(copiedLink, link);
    EXPECT_EQ(linkTarget(copiedLink), copiedRecord);
    const AcDbObjectIdArray reactors = reactorsOf(copy);
    ASSERT_EQ(reactors.length(), 1);
    EXPECT_EQ(reactors[0], copiedLink);
    EXPECT_EQ(readValue(copiedRecord), before);

    touch(copy);
    EXPECT_EQ(readValue(copiedRecord), before + 1);
    EXPECT_EQ(readValue(record), before) << "the original's record is not the copy's";
    touch(source);
    EXPECT_EQ(readValue(record), before + 1);
    EXPECT_EQ(readValue(copiedRecord), before + 1);
}

TEST_F(DbDeepClone, AReferenceOutsideTheCloneStaysOnTheOriginal) {
    const AcDbObjectId source = addEntity(db->modelSpaceId());
    const AcDbObjectId outside = addRecord(5);
    const AcDbObjectId link = attachLink(source, outside);
    cloneOne(source);
    EXPECT_EQ(linkTarget(copyOf(link)), outside);
}

// Objects of two owners take two calls with one mapping: the second maps the first's copies
// again without doubling what they hold.
TEST_F(DbDeepClone, ASecondCallMapsTheFirstsCopiesOnceMore) {
    const AcDbObjectId first = addEntity(db->modelSpaceId());
    const AcDbObjectId record = addOwnedRecord(first, 1);
    attachLink(first, record);
    const AcDbObjectId second = addEntity(db->paperSpaceId());
    const AcDbObjectId firstCopy = cloneOne(first);
    AcDbObjectIdArray ids;
    ids.append(second);
    ASSERT_EQ(db->deepCloneObjects(ids, db->paperSpaceId(), map), Acad::eOk);
    EXPECT_EQ(reactorsOf(firstCopy).length(), 1);
    AcDbEntity* copy = nullptr;
    ASSERT_EQ(acdbOpenObject(copy, copyOf(second), AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(copy->ownerId(), db->paperSpaceId());
    copy->close();
}

TEST_F(DbDeepClone, AnErasedOriginalIsRefusedAndCopiesNothing) {
    const AcDbObjectId source = addEntity(db->modelSpaceId());
    AcDbObject* object = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(object, source, AcDb::kForWrite), Acad::eOk);
    object->erase();
    object->close();
    AcDbObjectIdArray ids;
    ids.append(source);
    EXPECT_NE(db->deepCloneObjects(ids, db->modelSpaceId(), map), Acad::eOk);
    AcDbIdMappingIter pairs(map);
    pairs.start();
    EXPECT_TRUE(pairs.done());
}

} // namespace
