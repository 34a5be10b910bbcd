#include <cmath>

#include "crt/format.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/extents.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"
#include "db/viewport.h"
#include "entity_test_support.h"
#include "ge/curve_math.h"

namespace {

constexpr double kPi = ge::kPi;

const AcGeMatrix3d kMirrorInYAxis =
    AcGeMatrix3d::mirroring(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis);

void expectPoint(const AcGePoint3d& actual, const AcGePoint3d& expected) {
    EXPECT_TRUE(actual.isEqualTo(expected, AcGeTol(1e-12, 1e-12)))
        << actual.x << ", " << actual.y << ", " << actual.z;
}

} // namespace

class Transforms : public EntityTest {};

TEST_F(Transforms, ArcsRunTheOtherWayRoundWhenMirrored) {
    AcDbArc arc(AcGePoint3d(2, 0, 0), 1.0, 0.0, kPi / 2.0);
    ASSERT_EQ(arc.transformBy(kMirrorInYAxis), Acad::eOk);
    expectPoint(arc.center(), AcGePoint3d(-2, 0, 0));
    EXPECT_NEAR(arc.startAngle(), kPi / 2.0, 1e-12);
    EXPECT_NEAR(arc.endAngle(), kPi, 1e-12);
    AcGePoint3d start;
    arc.getStartPoint(start);
    expectPoint(start, AcGePoint3d(-2, 1, 0)); // the image of the old end
    EXPECT_EQ(arc.normal(), AcGeVector3d::kZAxis);

    // Rotated and scaled, the angles turn with it and the radius grows.
    AcDbArc turned(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2.0);
    turned.transformBy(AcGeMatrix3d::rotation(kPi / 2.0, AcGeVector3d::kZAxis) *
                       AcGeMatrix3d::scaling(3.0));
    EXPECT_NEAR(turned.radius(), 3.0, 1e-12);
    EXPECT_NEAR(turned.startAngle(), kPi / 2.0, 1e-12);
    EXPECT_NEAR(turned.endAngle(), kPi, 1e-12);
}

TEST_F(Transforms, PolylineBulgesFlipWhenMirrored) {
    AcDbPolyline pline;
    pline.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    pline.addVertexAt(1, AcGePoint2d(2, 0));
    pline.addVertexAt(2, AcGePoint2d(2, 2));
    pline.setClosed(true);
    double before = 0.0;
    pline.getArea(before);
    ASSERT_EQ(pline.transformBy(kMirrorInYAxis), Acad::eOk);
    double bulge = 0.0;
    pline.getBulgeAt(0, bulge);
    EXPECT_EQ(bulge, -1.0);
    AcGePoint2d p;
    pline.getPointAt(1, p);
    EXPECT_TRUE(p.isEqualTo(AcGePoint2d(-2, 0)));
    double after = 0.0;
    pline.getArea(after);
    EXPECT_NEAR(after, before, 1e-12);
    // The half circle still dips below the x axis, as its mirror image must.
    AcGePoint3d mid;
    pline.getPointAtParam(0.5, mid);
    expectPoint(mid, AcGePoint3d(-1, -1, 0));

    // Tipped over in space the plane follows: the points stay where the transformation puts them.
    const AcGeMatrix3d tip = AcGeMatrix3d::rotation(kPi / 2.0, AcGeVector3d::kXAxis);
    pline.transformBy(tip);
    AcGePoint3d world;
    pline.getPointAt(2, world);
    expectPoint(world, AcGePoint3d(-2, 0, 2));
    pline.getArea(after);
    EXPECT_NEAR(after, before, 1e-12);
}

TEST_F(Transforms, TextHeightAndRotationFollow) {
    AcDbText text(AcGePoint3d(1, 0, 0), L"AB", AcDbObjectId(), 1.0);
    ASSERT_EQ(text.transformBy(AcGeMatrix3d::rotation(kPi / 2.0, AcGeVector3d::kZAxis) *
                               AcGeMatrix3d::scaling(2.0)),
              Acad::eOk);
    expectPoint(text.position(), AcGePoint3d(0, 2, 0));
    EXPECT_NEAR(text.rotation(), kPi / 2.0, 1e-12);
    EXPECT_NEAR(text.height(), 2.0, 1e-12);
    EXPECT_NEAR(text.widthFactor(), 1.0, 1e-12);

    // Mirrored text stays readable: it reads along its mirrored line, not back to front.
    AcDbText mirrored(AcGePoint3d(1, 0, 0), L"AB", AcDbObjectId(), 1.0);
    mirrored.transformBy(kMirrorInYAxis);
    expectPoint(mirrored.position(), AcGePoint3d(-1, 0, 0));
    EXPECT_NEAR(mirrored.rotation(), 0.0, 1e-12);
    EXPECT_EQ(mirrored.normal(), AcGeVector3d::kZAxis);
    AcDbText rising(AcGePoint3d(), L"AB", AcDbObjectId(), 1.0, kPi / 6.0);
    rising.transformBy(kMirrorInYAxis);
    EXPECT_NEAR(rising.rotation(), 2.0 * kPi - kPi / 6.0, 1e-12);

    // Stretched along its line only, the text gets wider, not taller.
    AcDbText stretched(AcGePoint3d(), L"AB", AcDbObjectId(), 1.0);
    AcGeMatrix3d stretch;
    stretch(0, 0) = 3.0;
    ASSERT_EQ(stretched.transformBy(stretch), Acad::eOk);
    EXPECT_NEAR(stretched.height(), 1.0, 1e-12);
    EXPECT_NEAR(stretched.widthFactor(), 3.0, 1e-12);

    // Justified text keeps its alignment point where the transformation puts it.
    AcDbText centred(AcGePoint3d(), L"ABCD", AcDbObjectId(), 1.0);
    centred.setHorizontalMode(AcDb::kTextCenter);
    centred.setAlignmentPoint(AcGePoint3d(10, 0, 0));
    centred.transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 5, 0)));
    expectPoint(centred.alignmentPoint(), AcGePoint3d(10, 5, 0));
    expectPoint(centred.position(), AcGePoint3d(8, 5, 0));
}

TEST_F(Transforms, WhatCannotFollowIsRefusedAndLeftAlone) {
    AcGeMatrix3d squash;
    squash(1, 1) = 0.5;
    AcDbCircle circle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 2.0);
    EXPECT_EQ(circle.transformBy(squash), Acad::eNotApplicable);
    EXPECT_EQ(circle.radius(), 2.0);
    EXPECT_EQ(circle.center(), AcGePoint3d(1, 1, 0));
    AcGeMatrix3d flat;
    flat(2, 2) = 0.0;
    AcDbLine line(AcGePoint3d(0, 0, 1), AcGePoint3d(1, 0, 1));
    EXPECT_EQ(line.transformBy(flat), Acad::eNotApplicable);
    EXPECT_EQ(line.startPoint(), AcGePoint3d(0, 0, 1));
    AcDbViewport viewport;
    EXPECT_EQ(viewport.transformBy(AcGeMatrix3d::rotation(0.5, AcGeVector3d::kZAxis)),
              Acad::eNotApplicable);
    EXPECT_EQ(viewport.transformBy(AcGeMatrix3d::translation(AcGeVector3d(3, 0, 0)) *
                                   AcGeMatrix3d::scaling(2.0)),
              Acad::eOk);
    EXPECT_EQ(viewport.centerPoint(), AcGePoint3d(3, 0, 0));
    EXPECT_EQ(viewport.width(), 2.0);
    AcDbEntity bare;
    EXPECT_EQ(bare.transformBy(AcGeMatrix3d::kIdentity), Acad::eNotApplicable);
    AcDbExtents none;
    EXPECT_EQ(bare.getGeomExtents(none), Acad::eInvalidExtents);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(Transforms, ImagesAndRegionsFollowAffineAndUniformMaps) {
    AcDbRasterImage image;
    image.setOrientation(AcGePoint3d(1, 1, 0), AcGeVector3d(2, 0, 0), AcGeVector3d(0, 1, 0));
    AcGeMatrix3d squash;
    squash(1, 1) = 0.5;
    ASSERT_EQ(image.transformBy(squash), Acad::eOk);
    AcGePoint3d origin;
    AcGeVector3d u;
    AcGeVector3d v;
    image.getOrientation(origin, u, v);
    EXPECT_EQ(origin, AcGePoint3d(1, 0.5, 0));
    EXPECT_EQ(v, AcGeVector3d(0, 0.5, 0));
    EXPECT_FALSE(image.setOrientation(origin, u, u * 2.0));

    AcDbCircle circle(AcGePoint3d(), AcGeVector3d::kZAxis, 1.0);
    AcDbVoidPtrArray curves;
    curves.append(&circle);
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    std::unique_ptr<AcDbRegion> region(static_cast<AcDbRegion*>(regions[0]));
    region->transformBy(AcGeMatrix3d::scaling(2.0, AcGePoint3d(5, 5, 0)));
    double area = 0.0;
    region->getArea(area);
    EXPECT_NEAR(area, 4.0 * kPi, 1e-12);
    EXPECT_EQ(region->transformBy(squash), Acad::eNotApplicable);
}

TEST_F(Transforms, ABlockReferenceTakesItsAttributesAlong) {
    const AcDbObjectId block = addBlock(L"B");
    add(new AcDbAttributeDefinition(AcGePoint3d(1, 0, 0), L"v", L"T", L"?"), block);
    AcDbObjectId refId;
    ASSERT_EQ(svInsertBlockReference(refId, db->modelSpaceId(), block, AcGePoint3d()), Acad::eOk);
    {
        Writing<AcDbBlockReference> ref(refId);
        ASSERT_EQ(ref->transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 3, 0)) *
                                   AcGeMatrix3d::rotation(kPi / 2.0, AcGeVector3d::kZAxis)),
                  Acad::eOk);
    }
    Reading<AcDbBlockReference> ref(refId);
    expectPoint(ref->position(), AcGePoint3d(0, 3, 0));
    EXPECT_NEAR(ref->rotation(), kPi / 2.0, 1e-12);
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    Reading<AcDbAttribute> attribute(it->objectId());
    expectPoint(attribute->position(), AcGePoint3d(0, 4, 0));

    // Mirrored, the block turns over: its x scale goes negative and the geometry lands mirrored.
    AcDbBlockReference loose(AcGePoint3d(2, 0, 0), block);
    loose.transformBy(kMirrorInYAxis);
    EXPECT_EQ(loose.position(), AcGePoint3d(-2, 0, 0));
    const AcGePoint3d mapped = loose.blockTransform() * AcGePoint3d(1, 1, 0);
    expectPoint(mapped, AcGePoint3d(-3, 1, 0));
    EXPECT_LT(loose.scaleFactors().x, 0.0);
}

TEST_F(Transforms, DimensionsKeepMeasuringTheirGeometry) {
    AcDbRotatedDimension dim(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(0, 6, 0));
    dim.transformBy(AcGeMatrix3d::rotation(kPi / 2.0, AcGeVector3d::kZAxis) *
                    AcGeMatrix3d::scaling(2.0));
    double value = 0.0;
    dim.measurement(value);
    EXPECT_NEAR(value, 6.0, 1e-12);
    EXPECT_NEAR(dim.rotation(), kPi / 2.0, 1e-12);
}

class Extents : public EntityTest {};

TEST_F(Extents, BoxesHoldTheGeometryAndNoMore) {
    AcDbExtents box;
    AcDbArc quarter(AcGePoint3d(), 1.0, 0.0, kPi / 2.0);
    ASSERT_EQ(quarter.getGeomExtents(box), Acad::eOk);
    expectPoint(box.minPoint(), AcGePoint3d(0, 0, 0));
    expectPoint(box.maxPoint(), AcGePoint3d(1, 1, 0));

    AcDbArc across(AcGePoint3d(), 1.0, 3.0 * kPi / 2.0, kPi / 2.0);
    AcDbExtents right;
    across.getGeomExtents(right);
    expectPoint(right.minPoint(), AcGePoint3d(0, -1, 0));
    expectPoint(right.maxPoint(), AcGePoint3d(1, 1, 0));

    // A circle standing in the y-z plane.
    AcDbCircle standing(AcGePoint3d(5, 0, 0), AcGeVector3d::kXAxis, 2.0);
    AcDbExtents upright;
    standing.getGeomExtents(upright);
    expectPoint(upright.minPoint(), AcGePoint3d(5, -2, -2));
    expectPoint(upright.maxPoint(), AcGePoint3d(5, 2, 2));

    AcDbPolyline pline;
    pline.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    pline.addVertexAt(1, AcGePoint2d(2, 0));
    AcDbExtents bulged;
    pline.getGeomExtents(bulged);
    expectPoint(bulged.minPoint(), AcGePoint3d(0, -1, 0));
    expectPoint(bulged.maxPoint(), AcGePoint3d(2, 0, 0));

    AcDbText text(AcGePoint3d(1, 1, 0), L"ABC", AcDbObjectId(), 2.0);
    AcDbExtents textBox;
    text.getGeomExtents(textBox);
    expectPoint(textBox.maxPoint(), AcGePoint3d(7, 3, 0));
    AcDbText empty;
    AcDbExtents nothing;
    EXPECT_EQ(empty.getGeomExtents(nothing), Acad::eInvalidExtents);

    AcDbExtents sum(AcGePoint3d(3, 3, 3), AcGePoint3d(1, 1, 1));
    expectPoint(sum.minPoint(), AcGePoint3d(1, 1, 1));
    sum.addPoint(AcGePoint3d(NAN, 100, 100));
    expectPoint(sum.maxPoint(), AcGePoint3d(3, 3, 3));
    EXPECT_EQ(sum.set(AcGePoint3d(2, 0, 0), AcGePoint3d(1, 0, 0)), Acad::eInvalidExtents);
}

class Listing : public EntityTest {
protected:
    std::wstring listed(AcDbObjectId id) {
        EntCapturedOutput out;
        SvOutputSink* before = svSetOutputSink(&out);
        {
            Reading<AcDbEntity> open(id);
            open->list();
        }
        svSetOutputSink(before);
        return out.text;
    }
};

TEST_F(Listing, PrintsKindHandleLayerColourGeometryAndTexts) {
    acdbHostApplicationServices()->setWorkingDatabase(db);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    line->setColorIndex(1);
    line->setLayer(L"EDGES");
    const AcDbObjectId lineId = add(line);
    const std::wstring text = listed(lineId);
    EXPECT_NE(text.find(L"LINE"), std::wstring::npos) << svToUtf8(text);
    EXPECT_NE(text.find(L"\"EDGES\""), std::wstring::npos);
    EXPECT_NE(text.find(L"Model space"), std::wstring::npos);
    wchar_t handle[32];
    std::swprintf(handle, 32, L"%llX", static_cast<unsigned long long>(lineId.handle().value()));
    EXPECT_NE(text.find(std::wstring(L"Handle:")), std::wstring::npos);
    EXPECT_NE(text.find(handle), std::wstring::npos);
    EXPECT_NE(text.find(L"length:"), std::wstring::npos);
    EXPECT_NE(text.find(L"10.0000"), std::wstring::npos);

    auto* mtext = new AcDbMText;
    mtext->setContents(L"note\\Pline two");
    const std::wstring mtextList = listed(add(mtext));
    EXPECT_NE(mtextList.find(L"MTEXT"), std::wstring::npos);
    EXPECT_NE(mtextList.find(L"note\\Pline two"), std::wstring::npos);

    const AcDbObjectId block = addBlock(L"B");
    add(new AcDbAttributeDefinition(AcGePoint3d(), L"v", L"SIZE", L"?"), block);
    const SvAttributeValue values[] = {{L"SIZE", L"DN80"}};
    AcDbObjectId ref;
    svInsertBlockReference(ref, db->modelSpaceId(), block, AcGePoint3d(), values);
    const std::wstring refList = listed(ref);
    EXPECT_NE(refList.find(L"INSERT"), std::wstring::npos);
    EXPECT_NE(refList.find(L"\"B\""), std::wstring::npos);
    EXPECT_NE(refList.find(L"SIZE = \"DN80\""), std::wstring::npos);
}
