// The exported classes as the application module uses them: linked, not looked up.
#include "AcContentModifier.h"
#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyReader.h"
#include "db/dictionary.h"
#include "dbx_test_support.h"
#include "rx/dictionary.h"

namespace {

using DbxClasses = DbxTest;

#define EXPECT_VERSION(CLASS, EXPECTED)                                                            \
    do {                                                                                           \
        CLASS object;                                                                              \
        EXPECT_EQ(object.version(), EXPECTED) << #CLASS;                                           \
        EXPECT_EQ(CLASS::m_version##CLASS, EXPECTED) << #CLASS;                                    \
        EXPECT_EQ(CLASS::desc(), acrxClassDictionary()->at(SV_RX_WIDE(CLASS))) << #CLASS;          \
    } while (false)

TEST_F(DbxClasses, VersionsAndExportedConstantsAgree) {
    EXPECT_VERSION(AcPropertyLinkStyle, 2);
    EXPECT_VERSION(AcPropertyLink, 1);
    EXPECT_VERSION(AcPropertyReader, 1);
    EXPECT_VERSION(AcAreaReader, 1);
    EXPECT_VERSION(AcLengthReader, 1);
    EXPECT_VERSION(AcTextReader, 1);
    EXPECT_VERSION(AcXCoordReader, 1);
    EXPECT_VERSION(AcYCoordReader, 1);
    EXPECT_VERSION(AcZCoordReader, 1);
    EXPECT_VERSION(AcContentModifier, 1);
    EXPECT_VERSION(AcTextModifier, 1);
    EXPECT_VERSION(AcMTextModifier, 1);
    EXPECT_VERSION(AcBlockModifier, 1);
    EXPECT_VERSION(AcDimensionModifier, 1);
    EXPECT_VERSION(AcLeaderModifier, 1);
    EXPECT_VERSION(AcColorModifier, 1);
}

TEST_F(DbxClasses, NarrowingKeepsTheFamiliesApart) {
    AcXCoordReader reader;
    AcBlockModifier modifier;
    EXPECT_EQ(AcContentModifier::cast(&reader), nullptr);
    EXPECT_EQ(AcPropertyReader::cast(&reader), &reader);
    EXPECT_EQ(AcYCoordReader::cast(&reader), nullptr);
    EXPECT_EQ(AcPropertyReader::cast(&modifier), nullptr);
    EXPECT_EQ(AcContentModifier::cast(&modifier), &modifier);
    EXPECT_EQ(AcContentModifier::cast(nullptr), nullptr);
    EXPECT_EQ(reader.isA(), AcXCoordReader::desc());
}

// The library stays mapped while linked; its cached classes must follow a restart.
TEST_F(DbxClasses, ClassesFollowTheModuleThroughUnloadAndReload) {
    ASSERT_TRUE(acrxUnloadModule(L"sentavell17.dbx", false));
    EXPECT_EQ(AcBlockModifier::desc(), nullptr);
    AcBlockModifier orphan;
    EXPECT_EQ(AcContentModifier::cast(&orphan), nullptr);

    ASSERT_TRUE(acrxLoadModule((binDirW() + L"/sentavell17.dbx").c_str(), false));
    ASSERT_NE(AcBlockModifier::desc(), nullptr);
    EXPECT_EQ(AcBlockModifier::desc(), acrxClassDictionary()->at(L"AcBlockModifier"));
    EXPECT_EQ(AcContentModifier::cast(&orphan), &orphan);
}

// Handing a style the object it already holds must not free it (the sanitizer build sees it).
TEST_F(DbxClasses, StyleKeepsWhatItIsHandedAgain) {
    AcPropertyLinkStyle style;
    auto* reader = new AcAreaReader;
    auto* modifier = new AcColorModifier;
    EXPECT_EQ(style.setPropertyReader(reader), Acad::eOk);
    EXPECT_EQ(style.setPropertyReader(reader), Acad::eOk);
    EXPECT_EQ(style.setContentModifier(modifier), Acad::eOk);
    EXPECT_EQ(style.setContentModifier(modifier), Acad::eOk);
    EXPECT_STREQ(style.propertyReader()->displayName(), "Area");
    EXPECT_STREQ(style.contentModifier()->displayName(), L"Color modifier");
    EXPECT_EQ(style.setPropertyReader(new AcLengthReader), Acad::eOk);
    EXPECT_EQ(style.setContentModifier(nullptr), Acad::eOk);
    EXPECT_EQ(style.contentModifier(), nullptr);
}

// --- AcDbObjPtr -------------------------------------------------------------------------------

bool writable(AcDbObjectId id) {
    AcDbObject* obj = nullptr;
    if (acdbOpenAcDbObject(obj, id, AcDb::kForWrite) != Acad::eOk)
        return false;
    obj->close();
    return true;
}

AcDbObjectId addStyle(AcDbDatabase* db) {
    AcDbDictionary* nod = nullptr;
    EXPECT_EQ(db->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    auto* style = new AcPropertyLinkStyle;
    AcDbObjectId id;
    EXPECT_EQ(nod->setAt(L"Area", style, id), Acad::eOk);
    style->close();
    nod->close();
    return id;
}

TEST_F(DbxClasses, ObjPtrClosesWhatItOpenedOnEveryWayOut) {
    const AcDbObjectId entity = append(new AcDbEntity);
    {
        AcDbObjPtr<AcDbEntity> held(entity, AcDb::kForWrite);
        ASSERT_NE(held.object(), nullptr);
        EXPECT_TRUE(held->isWriteEnabled());
        EXPECT_FALSE(writable(entity));
    }
    EXPECT_TRUE(writable(entity));

    const AcDbObjectId style = addStyle(db);
    AcDbObjPtr<AcPropertyLinkStyle> styles;
    EXPECT_EQ(styles.open(style, AcDb::kForRead), Acad::eOk);
    // Opening anew lets the first go.
    EXPECT_EQ(styles.open(style, AcDb::kForRead), Acad::eOk);
    styles.release();
    EXPECT_EQ(styles.object(), nullptr);
    EXPECT_TRUE(writable(style));

    try {
        AcDbObjPtr<AcDbEntity> held(entity, AcDb::kForWrite);
        throw 1;
    } catch (int) {
    }
    EXPECT_TRUE(writable(entity));
}

TEST_F(DbxClasses, ObjPtrRefusesOtherClassesAndErasedObjects) {
    const AcDbObjectId entity = append(new AcDbEntity);
    const AcDbObjectId style = addStyle(db);

    AcDbObjPtr<AcPropertyLinkStyle> wrongClass;
    EXPECT_EQ(wrongClass.open(entity, AcDb::kForRead), Acad::eNotThatKindOfClass);
    EXPECT_FALSE(wrongClass);
    AcDbObjPtr<AcDbEntity> notAnEntity;
    EXPECT_NE(notAnEntity.open(style, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(notAnEntity);

    {
        AcDbObjPtr<AcDbEntity> held(entity, AcDb::kForWrite);
        ASSERT_TRUE(held);
        EXPECT_EQ(held->erase(), Acad::eOk);
    }
    AcDbObjPtr<AcDbEntity> erased;
    EXPECT_EQ(erased.open(entity, AcDb::kForRead), Acad::eWasErased);
    EXPECT_FALSE(erased);
}

struct CountedEntity : AcDbEntity {
    explicit CountedEntity(int& deleted) : m_deleted(deleted) {}
    ~CountedEntity() override { ++m_deleted; }
    int& m_deleted;
};

TEST_F(DbxClasses, ObjPtrDeletesAnObjectThatNeverJoinedADrawing) {
    int deleted = 0;
    {
        AcDbObjPtr<AcDbEntity> held;
        held.acquire(new CountedEntity(deleted));
    }
    EXPECT_EQ(deleted, 1);

    auto* kept = new CountedEntity(deleted);
    {
        AcDbObjPtr<AcDbEntity> held;
        held.acquire(kept, false);
    }
    EXPECT_EQ(deleted, 1);
    delete kept;
}

} // namespace
