#include <cmath>
#include <memory>

#include "db/attribute.h"
#include "db/blockref.h"
#include "db/dimension.h"
#include "db/fcf.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/text.h"
#include "entity_test_support.h"
#include "ge/curve_math.h"

namespace {

// Four characters of height 1: 4 units wide in the fixed cell.
std::unique_ptr<AcDbText> fourCharacters(AcDb::TextHorzMode horz, AcDb::TextVertMode vert,
                                         const AcGePoint3d& alignment) {
    auto text = std::make_unique<AcDbText>(AcGePoint3d(100, 100, 0), L"ABCD", AcDbObjectId(), 1.0);
    EXPECT_EQ(text->setHorizontalMode(horz), Acad::eOk);
    EXPECT_EQ(text->setVerticalMode(vert), Acad::eOk);
    EXPECT_EQ(text->setAlignmentPoint(alignment), Acad::eOk);
    return text;
}

void expectNear(const AcGePoint3d& actual, const AcGePoint3d& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
    EXPECT_NEAR(actual.z, expected.z, 1e-12);
}

} // namespace

class Texts : public EntityTest {};

TEST_F(Texts, LeftOnTheBaselineIsPlacedByItsPositionAlone) {
    AcDbText text(AcGePoint3d(1, 2, 0), L"ABCD", AcDbObjectId(), 1.0);
    EXPECT_TRUE(text.isDefaultAlignment());
    text.setAlignmentPoint(AcGePoint3d(50, 50, 0));
    EXPECT_EQ(text.position(), AcGePoint3d(1, 2, 0));
    text.setTextString(L"much longer now");
    EXPECT_EQ(text.position(), AcGePoint3d(1, 2, 0));
}

TEST_F(Texts, OtherJustificationsPlaceThePositionFromTheAlignmentPoint) {
    const AcGePoint3d a(10, 0, 0);
    struct Case {
        AcDb::TextHorzMode horz;
        AcDb::TextVertMode vert;
        AcGePoint3d position;
    };
    const Case cases[] = {
        {AcDb::kTextCenter, AcDb::kTextBase, {8, 0, 0}},
        {AcDb::kTextRight, AcDb::kTextBase, {6, 0, 0}},
        {AcDb::kTextLeft, AcDb::kTextTop, {10, -1, 0}},
        {AcDb::kTextRight, AcDb::kTextVertMid, {6, -0.5, 0}},
        {AcDb::kTextCenter, AcDb::kTextBottom, {8, 1.0 / 3.0, 0}},
        {AcDb::kTextMid, AcDb::kTextBase, {8, -0.5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "horizontal " << c.horz << " vertical " << c.vert);
        const auto text = fourCharacters(c.horz, c.vert, a);
        expectNear(text->position(), c.position);
        EXPECT_EQ(text->alignmentPoint(), a);
        EXPECT_FALSE(text->isDefaultAlignment());
    }
    // Rotated a quarter turn, centred text hangs down its own baseline.
    const auto turned = fourCharacters(AcDb::kTextCenter, AcDb::kTextBase, a);
    turned->setRotation(ge::kPi / 2.0);
    expectNear(turned->position(), AcGePoint3d(10, -2, 0));
    // A longer text keeps its alignment point and moves its position.
    turned->setTextString(L"ABCDEF");
    expectNear(turned->position(), AcGePoint3d(10, -3, 0));
}

TEST_F(Texts, AlignedAndFitTextRunFromThePositionToTheAlignmentPoint) {
    AcDbText aligned(AcGePoint3d(0, 0, 0), L"ABCD", AcDbObjectId(), 1.0);
    aligned.setHorizontalMode(AcDb::kTextAlign);
    aligned.setAlignmentPoint(AcGePoint3d(0, 8, 0));
    EXPECT_DOUBLE_EQ(aligned.height(), 2.0);
    EXPECT_NEAR(aligned.rotation(), ge::kPi / 2.0, 1e-15);
    EXPECT_EQ(aligned.position(), AcGePoint3d(0, 0, 0));

    AcDbText fit(AcGePoint3d(0, 0, 0), L"ABCD", AcDbObjectId(), 1.0);
    fit.setHorizontalMode(AcDb::kTextFit);
    fit.setAlignmentPoint(AcGePoint3d(8, 0, 0));
    EXPECT_DOUBLE_EQ(fit.height(), 1.0);
    EXPECT_DOUBLE_EQ(fit.widthFactor(), 2.0);

    // Nothing to fit, or the two points together: the text keeps its size, nothing divides by 0.
    fit.setTextString(L"");
    fit.setAlignmentPoint(AcGePoint3d(0, 0, 0));
    EXPECT_TRUE(std::isfinite(fit.widthFactor()));
    EXPECT_TRUE(std::isfinite(fit.rotation()));
}

TEST_F(Texts, MovingJustifiedTextMovesBothPoints) {
    const auto text = fourCharacters(AcDb::kTextCenter, AcDb::kTextBase, AcGePoint3d(10, 0, 0));
    text->setPosition(AcGePoint3d(0, 5, 0));
    EXPECT_EQ(text->alignmentPoint(), AcGePoint3d(2, 5, 0));
    expectNear(text->position(), AcGePoint3d(0, 5, 0));
    // Back to left on the baseline, the text stays where it is.
    text->setHorizontalMode(AcDb::kTextLeft);
    expectNear(text->position(), AcGePoint3d(0, 5, 0));
}

TEST_F(Texts, ValuesOutsideTheirRangesAreRefused) {
    AcDbText text;
    EXPECT_EQ(text.setHorizontalMode(static_cast<AcDb::TextHorzMode>(6)), Acad::eInvalidInput);
    EXPECT_EQ(text.setVerticalMode(static_cast<AcDb::TextVertMode>(-1)), Acad::eInvalidInput);
    EXPECT_EQ(text.setTextString(nullptr), Acad::eInvalidInput);
    EXPECT_EQ(text.setHeight(-1.0), Acad::eInvalidInput);
    EXPECT_EQ(text.setWidthFactor(0.0), Acad::eInvalidInput);
    EXPECT_EQ(text.setPosition(AcGePoint3d(INFINITY, 0, 0)), Acad::eInvalidInput);
    EXPECT_EQ(text.horizontalMode(), AcDb::kTextLeft);
}

TEST_F(Texts, TextStringIsACopyTheCallerReleases) {
    AcDbText text(AcGePoint3d(), L"label", AcDbObjectId());
    wchar_t* copy = text.textString();
    ASSERT_NE(copy, nullptr);
    copy[0] = L'L';
    EXPECT_STREQ(text.textStringConst(), L"label");
    acutDelBuffer(copy);
    EXPECT_EQ(copy, nullptr);
}

TEST_F(Texts, AttributesAreTextsAndMultilineTextIsNot) {
    AcDbAttribute attribute(AcGePoint3d(), L"value", L"TAG");
    AcDbAttributeDefinition definition(AcGePoint3d(), L"default", L"TAG", L"Enter a value");
    AcDbMText mtext;
    EXPECT_TRUE(attribute.isKindOf(AcDbText::desc()));
    EXPECT_TRUE(definition.isKindOf(AcDbText::desc()));
    EXPECT_FALSE(mtext.isKindOf(AcDbText::desc()));
    EXPECT_EQ(AcDbText::cast(&mtext), nullptr);
    EXPECT_EQ(taken(attribute.tag()), L"TAG");
    EXPECT_EQ(taken(attribute.textString()), L"value");
    EXPECT_EQ(taken(definition.prompt()), L"Enter a value");
    EXPECT_EQ(taken(definition.textString()), L"default");
    EXPECT_EQ(attribute.setTag(L"TWO WORDS"), Acad::eInvalidInput);
    EXPECT_EQ(attribute.setTag(L""), Acad::eInvalidInput);
    EXPECT_EQ(taken(attribute.tag()), L"TAG");
    EXPECT_STREQ(AcDbAttribute::desc()->dxfName(), L"ATTRIB");
    EXPECT_STREQ(AcDbAttributeDefinition::desc()->dxfName(), L"ATTDEF");
}

TEST_F(Texts, MultilineTextContentsAndPlainText) {
    AcDbMText mtext;
    EXPECT_EQ(mtext.setContents(L"{\\fArial|b1;Hello}\\PWorld \\S1^2; \\\\ \\H2.5x;big"),
              Acad::eOk);
    EXPECT_EQ(taken(mtext.contents()), L"{\\fArial|b1;Hello}\\PWorld \\S1^2; \\\\ \\H2.5x;big");
    EXPECT_EQ(taken(mtext.text()), L"Hello\nWorld 1/2 \\ big");
    EXPECT_EQ(mtext.setContents(nullptr), Acad::eInvalidInput);
    mtext.setTextHeight(1.0);
    EXPECT_NEAR(mtext.actualHeight(), 1.0 + 5.0 / 3.0, 1e-12);
    // A code cut short at the end of the text ends the text, not the reading.
    mtext.setContents(L"abc\\fArial");
    EXPECT_EQ(taken(mtext.text()), L"abc");
    // Wrapping at a tiny width counts many lines but stays finite.
    mtext.setContents(std::wstring(1000, L'x').c_str());
    mtext.setWidth(1e-300);
    EXPECT_TRUE(std::isfinite(mtext.actualHeight()));
}

class Dimensions : public EntityTest {};

TEST_F(Dimensions, MeasurementFollowsTheGeometry) {
    AcDbRotatedDimension horizontal(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0),
                                    AcGePoint3d(0, 6, 0));
    AcDbRotatedDimension vertical(ge::kPi / 2.0, AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0),
                                  AcGePoint3d(6, 0, 0));
    AcDbAlignedDimension aligned(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(-1, 1, 0));
    double value = 0.0;
    ASSERT_EQ(horizontal.measurement(value), Acad::eOk);
    EXPECT_NEAR(value, 3.0, 1e-12);
    ASSERT_EQ(vertical.measurement(value), Acad::eOk);
    EXPECT_NEAR(value, 4.0, 1e-12);
    ASSERT_EQ(aligned.measurement(value), Acad::eOk);
    EXPECT_NEAR(value, 5.0, 1e-12);
    AcDbDimension base;
    EXPECT_EQ(base.measurement(value), Acad::eNotApplicable);

    // Unless placed, the text sits in the middle of the dimension line.
    EXPECT_TRUE(horizontal.isUsingDefaultTextPosition());
    EXPECT_TRUE(horizontal.textPosition().isEqualTo(AcGePoint3d(1.5, 6, 0)));
    horizontal.setXLine2Point(AcGePoint3d(5, 4, 0));
    EXPECT_TRUE(horizontal.textPosition().isEqualTo(AcGePoint3d(2.5, 6, 0)));
    horizontal.setTextPosition(AcGePoint3d(9, 9, 0));
    EXPECT_EQ(horizontal.textPosition(), AcGePoint3d(9, 9, 0));
    EXPECT_FALSE(horizontal.isUsingDefaultTextPosition());
}

TEST_F(Dimensions, TextOverrideAndTheTextShown) {
    acdbHostApplicationServices()->setWorkingDatabase(db);
    db->setLunits(2);
    db->setLuprec(2);
    AcDbAlignedDimension dim(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(0, 1, 0));
    EXPECT_EQ(taken(dim.dimensionText()), L"");
    EXPECT_EQ(taken(dim.formattedText()), L"5.00");
    dim.setDimensionText(L"L = <> mm");
    EXPECT_EQ(taken(dim.dimensionText()), L"L = <> mm");
    EXPECT_EQ(taken(dim.formattedText()), L"L = 5.00 mm");
    dim.setDimensionText(L"by hand");
    EXPECT_EQ(taken(dim.formattedText()), L"by hand");
    dim.setDimensionText(nullptr);
    EXPECT_EQ(taken(dim.dimensionText()), L"");
}

class Leaders : public EntityTest {};

TEST_F(Leaders, AnnotationIsAMultilineTextABlockReferenceOrATolerance) {
    auto* mtext = new AcDbMText;
    mtext->setContents(L"note");
    const AcDbObjectId mtextId = add(mtext);
    const AcDbObjectId refId = add(new AcDbBlockReference(AcGePoint3d(), AcDbObjectId()));
    const AcDbObjectId fcfId = add(new AcDbFcf(L"{\\Fgdt;j}%%v0.1", AcGePoint3d(),
                                               AcGeVector3d::kZAxis, AcGeVector3d::kXAxis));
    const AcDbObjectId lineId = add(new AcDbLine(AcGePoint3d(), AcGePoint3d(1, 1, 0)));

    auto* leader = new AcDbLeader;
    leader->appendVertex(AcGePoint3d(0, 0, 0));
    leader->appendVertex(AcGePoint3d(5, 5, 0));
    const AcDbObjectId leaderId = add(leader);
    Writing<AcDbLeader> open(leaderId);
    ASSERT_EQ(open.status(), Acad::eOk);
    EXPECT_TRUE(open->annotationObjId().isNull());
    EXPECT_EQ(open->attachAnnotation(lineId), Acad::eNotThatKindOfClass);
    EXPECT_EQ(open->attachAnnotation(AcDbObjectId()), Acad::eNullObjectId);
    for (const AcDbObjectId& id : {refId, fcfId, mtextId}) {
        EXPECT_EQ(open->attachAnnotation(id), Acad::eOk);
        EXPECT_EQ(open->annotationObjId(), id);
    }
    EXPECT_EQ(open->detachAnnotation(), Acad::eOk);
    EXPECT_TRUE(open->annotationObjId().isNull());

    {
        Writing<AcDbMText> gone(mtextId);
        gone->erase();
    }
    EXPECT_EQ(open->attachAnnotation(mtextId), Acad::eWasErased);

    AcDbDatabase other;
    AcDbBlockTableRecord* space = nullptr;
    acdbOpenObject(space, other.modelSpaceId(), AcDb::kForWrite);
    auto* foreign = new AcDbMText;
    AcDbObjectId foreignId;
    space->appendAcDbEntity(foreignId, foreign);
    foreign->close();
    space->close();
    EXPECT_EQ(open->attachAnnotation(foreignId), Acad::eWrongDatabase);
}

TEST_F(Leaders, VerticesByIndex) {
    AcDbLeader leader;
    EXPECT_TRUE(leader.appendVertex(AcGePoint3d(1, 2, 3)));
    EXPECT_FALSE(leader.appendVertex(AcGePoint3d(NAN, 0, 0)));
    EXPECT_EQ(leader.numVertices(), 1);
    EXPECT_FALSE(leader.setVertexAt(1, AcGePoint3d()));
    EXPECT_FALSE(leader.setVertexAt(-1, AcGePoint3d()));
    EXPECT_TRUE(leader.setVertexAt(0, AcGePoint3d(4, 5, 6)));
    EXPECT_EQ(leader.vertexAt(0), AcGePoint3d(4, 5, 6));
    EXPECT_EQ(leader.lastVertex(), AcGePoint3d(4, 5, 6));
    leader.removeLastVertex();
    leader.removeLastVertex(); // on an empty leader: nothing
    EXPECT_EQ(leader.numVertices(), 0);
}
