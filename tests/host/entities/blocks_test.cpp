#include <cmath>
#include <memory>

#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/extents.h"
#include "db/line.h"
#include "db/transaction.h"
#include "entity_test_support.h"
#include "ge/curve_math.h"

namespace {

struct Attr {
    AcDbObjectId id;
    std::wstring tag;
    std::wstring value;
    AcGePoint3d position;
};

std::vector<Attr> attributesOf(AcDbObjectId refId) {
    std::vector<Attr> found;
    Reading<AcDbBlockReference> ref(refId);
    EXPECT_EQ(ref.status(), Acad::eOk);
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    for (it->start(); !it->done(); it->step()) {
        Reading<AcDbAttribute> attribute(it->objectId());
        EXPECT_EQ(attribute.status(), Acad::eOk);
        found.push_back({it->objectId(), taken(attribute->tag()), taken(attribute->textString()),
                         attribute->position()});
    }
    return found;
}

} // namespace

class Blocks : public EntityTest {
protected:
    // "PART": a circle and two attribute definitions, NAME and NUMBER, with defaults.
    void SetUp() override {
        EntityTest::SetUp();
        block = addBlock(L"PART");
        add(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0), block);
        add(new AcDbAttributeDefinition(AcGePoint3d(1, 0, 0), L"unnamed", L"NAME", L"Name?"),
            block);
        add(new AcDbAttributeDefinition(AcGePoint3d(1, -1, 0), L"0", L"NUMBER", L"Number?"), block);
    }
    AcDbObjectId insert(const AcGePoint3d& at, std::span<const SvAttributeValue> values = {},
                        double rotation = 0.0, double scale = 1.0) {
        AcDbObjectId id;
        EXPECT_EQ(
            svInsertBlockReference(id, db->modelSpaceId(), block, at, values, rotation, scale),
            Acad::eOk);
        return id;
    }
    AcDbObjectId block;
};

TEST_F(Blocks, InsertingTwiceGivesTwoReferencesWithTwoAttributesEach) {
    const SvAttributeValue values[] = {{L"name", L"valve"}};
    const AcDbObjectId first = insert(AcGePoint3d(10, 0, 0), values);
    const AcDbObjectId second = insert(AcGePoint3d(20, 0, 0));
    ASSERT_NE(first, second);

    const std::vector<Attr> a = attributesOf(first);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].tag, L"NAME");
    EXPECT_EQ(a[0].value, L"valve"); // given, matched without regard to case
    EXPECT_EQ(a[1].tag, L"NUMBER");
    EXPECT_EQ(a[1].value, L"0"); // the definition's default
    const std::vector<Attr> b = attributesOf(second);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].value, L"unnamed");
    EXPECT_NE(a[0].id, b[0].id);
    EXPECT_TRUE(a[0].position.isEqualTo(AcGePoint3d(11, 0, 0)));

    {
        Reading<AcDbAttribute> attribute(a[0].id);
        EXPECT_EQ(attribute->ownerId(), first);
    }
    Reading<AcDbBlockTableRecord> record(block);
    EXPECT_TRUE(record->hasAttributeDefinitions());
    AcDbObjectIdArray refs;
    ASSERT_EQ(record->getBlockReferenceIds(refs), Acad::eOk);
    ASSERT_EQ(refs.length(), 2);
    EXPECT_EQ(refs[0], first);
    EXPECT_EQ(refs[1], second);
    Reading<AcDbBlockTableRecord> model(db->modelSpaceId());
    EXPECT_FALSE(model->hasAttributeDefinitions());
}

TEST_F(Blocks, TheIteratorSkipsAnErasedAttribute) {
    const AcDbObjectId ref = insert(AcGePoint3d());
    const std::vector<Attr> before = attributesOf(ref);
    ASSERT_EQ(before.size(), 2u);
    {
        Writing<AcDbAttribute> name(before[0].id);
        ASSERT_EQ(name->erase(), Acad::eOk);
    }
    const std::vector<Attr> after = attributesOf(ref);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].tag, L"NUMBER");

    Reading<AcDbBlockReference> open(ref);
    std::unique_ptr<AcDbObjectIterator> it(open->attributeIterator());
    // Backwards from the end, and with erased ones asked for.
    it->start(true);
    EXPECT_EQ(it->objectId(), before[1].id);
    it->step(true);
    EXPECT_TRUE(it->done());
    EXPECT_TRUE(it->objectId().isNull());
    it->start();
    it->setPosition(before[0].id);
    EXPECT_EQ(it->objectId(), before[0].id);
    it->step(false, false);
    EXPECT_EQ(it->objectId(), before[1].id);
    // An attribute in the drawing is handed out only while it is open.
    EXPECT_EQ(it->entity(), nullptr);
    {
        Reading<AcDbAttribute> attribute(before[1].id);
        EXPECT_EQ(it->entity(), attribute.get());
    }
}

TEST_F(Blocks, ErasingTheReferenceErasesItsAttributes) {
    const AcDbObjectId ref = insert(AcGePoint3d());
    const std::vector<Attr> attributes = attributesOf(ref);
    {
        Writing<AcDbBlockReference> open(ref);
        ASSERT_EQ(open->erase(), Acad::eOk);
    }
    for (const Attr& attribute : attributes)
        EXPECT_TRUE(attribute.id.isErased());
    Reading<AcDbBlockTableRecord> record(block);
    AcDbObjectIdArray refs;
    record->getBlockReferenceIds(refs);
    EXPECT_EQ(refs.length(), 0);
}

TEST_F(Blocks, AttributesArePlacedThroughTheReference) {
    const AcDbObjectId ref = insert(AcGePoint3d(10, 0, 0), {}, ge::kPi / 2.0, 2.0);
    const std::vector<Attr> attributes = attributesOf(ref);
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_TRUE(attributes[0].position.isEqualTo(AcGePoint3d(10, 2, 0)));
    EXPECT_TRUE(attributes[1].position.isEqualTo(AcGePoint3d(12, 2, 0)));
    Reading<AcDbAttribute> attribute(attributes[0].id);
    EXPECT_NEAR(attribute->rotation(), ge::kPi / 2.0, 1e-12);
    EXPECT_NEAR(attribute->height(), 2.0 * kSvTextDefaultHeight, 1e-12);
}

TEST_F(Blocks, ABlockIsNeverInsertedIntoItselfOrIntoASpaceThatIsNoBlock) {
    AcDbObjectId id;
    EXPECT_EQ(svInsertBlockReference(id, block, block, AcGePoint3d()), Acad::eInvalidInput);
    // OUTER inserts PART, so PART cannot take OUTER.
    const AcDbObjectId outer = addBlock(L"OUTER");
    ASSERT_EQ(svInsertBlockReference(id, outer, block, AcGePoint3d()), Acad::eOk);
    EXPECT_EQ(svInsertBlockReference(id, block, outer, AcGePoint3d()), Acad::eInvalidInput);
    EXPECT_EQ(svInsertBlockReference(id, block, db->modelSpaceId(), AcGePoint3d()),
              Acad::eInvalidInput);
    EXPECT_EQ(svInsertBlockReference(id, db->modelSpaceId(), block, AcGePoint3d(), {}, 0.0, 0.0),
              Acad::eInvalidInput);
    EXPECT_TRUE(id.isNull());
}

TEST_F(Blocks, AppendingAnAttributeNeedsAReferenceInTheDrawingOpenForWrite) {
    AcDbBlockReference loose(AcGePoint3d(), block);
    auto* attribute = new AcDbAttribute(AcGePoint3d(), L"v", L"T");
    EXPECT_EQ(loose.appendAttribute(attribute), Acad::eNotInDatabase);

    const AcDbObjectId ref = add(new AcDbBlockReference(AcGePoint3d(), block));
    {
        Reading<AcDbBlockReference> reading(ref);
        EXPECT_EQ(reading->appendAttribute(attribute), Acad::eNotOpenForWrite);
    }
    Writing<AcDbBlockReference> writing(ref);
    AcDbObjectId attributeId;
    ASSERT_EQ(writing->appendAttribute(attributeId, attribute), Acad::eOk);
    EXPECT_EQ(writing->appendAttribute(attribute), Acad::eAlreadyInDb);
    attribute->close();
    EXPECT_EQ(writing->setBlockTableRecord(AcDbObjectId()), Acad::eNullObjectId);
    EXPECT_EQ(writing->setBlockTableRecord(attributeId), Acad::eWrongObjectType);
    EXPECT_EQ(writing->setScaleFactors(AcGeVector3d(1, 0, 1)), Acad::eInvalidInput);
}

TEST_F(Blocks, ExtentsOfAReferenceAreThoseOfItsBlockAsPlaced) {
    const AcDbObjectId plain = addBlock(L"DOT");
    add(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0), plain);
    AcDbObjectId ref;
    ASSERT_EQ(svInsertBlockReference(ref, db->modelSpaceId(), plain, AcGePoint3d(10, 10, 0), {},
                                     0.0, 2.0),
              Acad::eOk);
    Reading<AcDbBlockReference> open(ref);
    AcDbExtents extents;
    ASSERT_EQ(open->getGeomExtents(extents), Acad::eOk);
    EXPECT_TRUE(extents.minPoint().isEqualTo(AcGePoint3d(8, 8, 0)));
    EXPECT_TRUE(extents.maxPoint().isEqualTo(AcGePoint3d(12, 12, 0)));
}

TEST_F(Blocks, ABlockThatInsertsItselfStillHasExtents) {
    // Only damaged data makes such a block; gathering its extents must still end.
    const AcDbObjectId loop = addBlock(L"LOOP");
    add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), loop);
    add(new AcDbBlockReference(AcGePoint3d(5, 0, 0), loop), loop);
    const AcDbObjectId ref = add(new AcDbBlockReference(AcGePoint3d(), loop));
    Reading<AcDbBlockReference> open(ref);
    AcDbExtents extents;
    ASSERT_EQ(open->getGeomExtents(extents), Acad::eOk);
    EXPECT_GE(extents.maxPoint().x, 1.0);
    AcDbObjectId id;
    EXPECT_EQ(svInsertBlockReference(id, loop, loop, AcGePoint3d()), Acad::eInvalidInput);
}

TEST_F(Blocks, AnAbortedInsertionLeavesNothingBehind) {
    AcDbTransactionManager* tm = db->transactionManager();
    tm->startTransaction();
    const AcDbObjectId ref = insert(AcGePoint3d());
    const std::vector<Attr> attributes = attributesOf(ref);
    ASSERT_EQ(tm->abortTransaction(), Acad::eOk);
    EXPECT_FALSE(ref.isValid());
    for (const Attr& attribute : attributes)
        EXPECT_FALSE(attribute.id.isValid());
    Reading<AcDbBlockTableRecord> record(block);
    AcDbObjectIdArray refs;
    record->getBlockReferenceIds(refs);
    EXPECT_EQ(refs.length(), 0);
}

TEST_F(Blocks, ACopiedReferenceDoesNotShareTheAttributes) {
    const AcDbObjectId ref = insert(AcGePoint3d(3, 4, 0));
    AcDbBlockReference copy;
    {
        Reading<AcDbBlockReference> open(ref);
        ASSERT_EQ(copy.copyFrom(open.get()), Acad::eOk);
    }
    EXPECT_EQ(copy.position(), AcGePoint3d(3, 4, 0));
    EXPECT_EQ(copy.blockTableRecord(), block);
    std::unique_ptr<AcDbObjectIterator> it(copy.attributeIterator());
    EXPECT_TRUE(it->done());
}
