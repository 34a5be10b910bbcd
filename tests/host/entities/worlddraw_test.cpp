#include <cmath>
#include <string>
#include <vector>

#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/extents.h"
#include "db/line.h"
#include "db/text.h"
#include "db/worlddraw.h"
#include "entity_test_support.h"
#include "ge/curve_math.h"

namespace {

// Writes down what is drawn, one line a primitive, in world coordinates and its colour.
class RecordingGeometry : public AcGiGeometry {
public:
    std::vector<std::string> drawn;
    AcGiText lastText;
    AcGeVector3d lastNormal;
    AcGeVector3d majorAxis, minorAxis;

protected:
    void worldLine(const AcGePoint3d& from, const AcGePoint3d& to) override {
        record("line " + at(from) + " " + at(to));
    }
    void worldPolyline(const std::vector<AcGePoint3d>& points, bool) override {
        record("polyline " + std::to_string(points.size()));
    }
    void worldBulgedPolyline(const std::vector<AcGePoint3d>& points, const std::vector<double>&,
                             bool, const AcGeVector3d&) override {
        record("bulged " + std::to_string(points.size()));
    }
    void worldCircle(const AcGePoint3d& center, double radius, const AcGeVector3d&) override {
        record("circle " + at(center) + " r" + std::to_string(std::lround(radius)));
    }
    void worldCircularArc(const AcGePoint3d& center, double, const AcGeVector3d& normal,
                          const AcGeVector3d&, double) override {
        lastNormal = normal;
        record("arc " + at(center));
    }
    void worldEllipticalArc(const AcGePoint3d& center, const AcGeVector3d& major,
                            const AcGeVector3d& minor, double, double) override {
        majorAxis = major;
        minorAxis = minor;
        record("ellipse " + at(center));
    }
    void worldText(const AcGiText& text) override {
        lastText = text;
        record("text " + std::string(text.content.begin(), text.content.end()) + " " +
               at(text.position));
    }

private:
    static std::string at(const AcGePoint3d& p) {
        return std::to_string(std::lround(p.x)) + "," + std::to_string(std::lround(p.y));
    }
    void record(const std::string& what) {
        drawn.push_back(what + " c" + std::to_string(subEntityTraits().color()));
    }
};

class WorldDraw : public EntityTest {
protected:
    std::vector<std::string> drawnBy(AcDbObjectId id) {
        Reading<AcDbEntity> entity(id);
        sink.draw(*entity.get());
        return sink.drawn;
    }
    RecordingGeometry sink;
};

TEST_F(WorldDraw, AReferenceDrawsItsAttributesThenItsBlockAsPlacedInItsColour) {
    const AcDbObjectId block = addBlock(L"MARK");
    add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), block);
    auto* byBlock = new AcDbCircle(AcGePoint3d(0, 1, 0), AcGeVector3d::kZAxis, 1.0);
    byBlock->setColorIndex(kSvColorByBlock);
    add(byBlock, block);
    add(new AcDbAttributeDefinition(AcGePoint3d(0, 2, 0), L"?", L"NAME", L"Name"), block);
    auto* hidden = new AcDbAttributeDefinition(AcGePoint3d(0, 3, 0), L"x", L"HIDE", L"Hide");
    hidden->setInvisible(true);
    add(hidden, block);
    auto* fixed = new AcDbAttributeDefinition(AcGePoint3d(0, 4, 0), L"Fixed", L"FIX", L"Fix");
    fixed->setConstant(true);
    add(fixed, block);
    const SvAttributeValue values[] = {{L"NAME", L"Pump"}};
    AcDbObjectId ref;
    ASSERT_EQ(svInsertBlockReference(ref, db->modelSpaceId(), block, AcGePoint3d(10, 20, 0), values,
                                     ge::kPi / 2, 2.0),
              Acad::eOk);
    Writing<AcDbBlockReference>(ref)->setColorIndex(3);

    // The attributes took the colour with the reference; the hidden one draws nothing, and the
    // definitions that have attributes are left out.
    EXPECT_EQ(drawnBy(ref), (std::vector<std::string>{"text Pump 6,20 c3", "line 10,20 10,22 c7",
                                                      "circle 8,20 r2 c3", "text Fixed 2,20 c7"}));
    // Turned a quarter and doubled, the text runs up and is twice as high.
    EXPECT_NEAR(sink.lastText.direction.y, 1.0, 1e-12);
    EXPECT_NEAR(sink.lastText.height, 2 * kSvTextDefaultHeight, 1e-12);
}

TEST_F(WorldDraw, UnevenScalingTurnsCirclesIntoEllipses) {
    const AcDbObjectId block = addBlock(L"WHEEL");
    add(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0), block);
    const AcDbObjectId ref = add(new AcDbBlockReference(AcGePoint3d(5, 0, 0), block));
    ASSERT_EQ(Writing<AcDbBlockReference>(ref)->setScaleFactors(AcGeVector3d(3, 1, 1)), Acad::eOk);
    EXPECT_EQ(drawnBy(ref), std::vector<std::string>{"ellipse 5,0 c7"});
    EXPECT_TRUE(sink.majorAxis.isEqualTo(AcGeVector3d(3, 0, 0)));
    EXPECT_TRUE(sink.minorAxis.isEqualTo(AcGeVector3d(0, 1, 0)));
}

TEST_F(WorldDraw, AMirrorTurnsArcsRoundAndKeepsTextReadable) {
    const AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(), 1.0, 0.0, 1.0));
    const AcDbObjectId text = add(new AcDbText(AcGePoint3d(), L"Left"));
    sink.pushModelTransform(AcGeMatrix3d::mirroring(AcGePoint3d(), AcGeVector3d::kXAxis));
    drawnBy(arc);
    EXPECT_LT(sink.lastNormal.z, 0.0);
    drawnBy(text);
    EXPECT_NEAR(sink.lastText.direction.x, 1.0, 1e-12);
}

TEST_F(WorldDraw, ABlockThatInsertsItselfIsDrawnOnceThrough) {
    const AcDbObjectId loop = addBlock(L"LOOP");
    add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), loop);
    add(new AcDbBlockReference(AcGePoint3d(5, 0, 0), loop), loop);
    const AcDbObjectId ref = add(new AcDbBlockReference(AcGePoint3d(), loop));
    EXPECT_EQ(drawnBy(ref), std::vector<std::string>{"line 0,0 1,0 c7"});
}

TEST_F(WorldDraw, ExtentsAreThoseOfWhatIsDrawn) {
    const AcDbObjectId block = addBlock(L"SIGN");
    auto* fixed = new AcDbAttributeDefinition(AcGePoint3d(0, 5, 0), L"Exit", L"FIX", L"Fix");
    fixed->setConstant(true);
    add(fixed, block);
    add(new AcDbCircle(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0), block);
    const AcDbObjectId ref = add(new AcDbBlockReference(AcGePoint3d(10, 0, 0), block));
    AcDbExtents box;
    ASSERT_EQ(Reading<AcDbEntity>(ref)->getGeomExtents(box), Acad::eOk);
    // The constant definition is drawn, so it is inside the extents.
    EXPECT_TRUE(box.minPoint().isEqualTo(AcGePoint3d(9, -1, 0)));
    EXPECT_NEAR(box.maxPoint().y, 5 + kSvTextDefaultHeight, 1e-12);
    AcDbExtents arcBox;
    AcDbArc quarter(AcGePoint3d(), 2.0, 0.0, ge::kPi / 2);
    ASSERT_EQ(quarter.getGeomExtents(arcBox), Acad::eOk);
    EXPECT_TRUE(arcBox.minPoint().isEqualTo(AcGePoint3d(0, 0, 0)));
    EXPECT_TRUE(arcBox.maxPoint().isEqualTo(AcGePoint3d(2, 2, 0)));
}

} // namespace
