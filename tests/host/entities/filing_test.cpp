#include <algorithm>
#include <cmath>
#include <cstring>

#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/fcf.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/proxy.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"
#include "db/transaction.h"
#include "db/viewport.h"
#include "entity_test_support.h"

namespace {

// A value no other field of the drawings here holds, to find a field's bytes on file.
constexpr double kMarker = 12345.6875;

std::size_t find(const std::vector<unsigned char>& bytes, const void* pattern, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(pattern);
    const auto it = std::search(bytes.begin(), bytes.end(), p, p + size);
    EXPECT_NE(it, bytes.end());
    return static_cast<std::size_t>(it - bytes.begin());
}

void put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

class Filing : public EntityTest {};

// One of every kind, each field away from its default, through a file and back.
TEST_F(Filing, EveryKindSurvivesSaveAndLoadWithAllItsFields) {
    auto* line = new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
    line->setThickness(0.5);
    line->setNormal(AcGeVector3d(0, 1, 0));
    line->setColorIndex(3);
    line->setLayer(L"WALLS");
    const AcDbObjectId lineId = add(line);

    auto* pline = new AcDbPolyline;
    pline->addVertexAt(0, AcGePoint2d(0, 0), 0.5, 0.1, 0.2);
    pline->addVertexAt(1, AcGePoint2d(4, 0), -1.0);
    pline->addVertexAt(2, AcGePoint2d(4, 3));
    pline->setClosed(true);
    pline->setElevation(7.0);
    pline->setThickness(1.5);
    const AcDbObjectId plineId = add(pline);

    const AcDbObjectId circleId =
        add(new AcDbCircle(AcGePoint3d(1, 1, 1), AcGeVector3d(1, 1, 1), 2.5));
    const AcDbObjectId arcId =
        add(new AcDbArc(AcGePoint3d(2, 2, 0), AcGeVector3d(0, 0, -1), 3.0, 0.25, 4.5));
    const AcDbObjectId ellipseId = add(new AcDbEllipse(AcGePoint3d(0, 1, 0), AcGeVector3d::kZAxis,
                                                       AcGeVector3d(0, 5, 0), 0.4, 0.5, 2.5));

    AcDbPolyline boundary;
    boundary.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    boundary.addVertexAt(1, AcGePoint2d(2, 0));
    boundary.setClosed(true);
    AcDbVoidPtrArray curves;
    curves.append(&boundary);
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    const AcDbObjectId regionId = add(static_cast<AcDbRegion*>(regions[0]));

    auto* text = new AcDbText(AcGePoint3d(1, 1, 0), L"Fläche ∑ 1", AcDbObjectId(), 2.5, 0.3);
    text->setHorizontalMode(AcDb::kTextRight);
    text->setVerticalMode(AcDb::kTextTop);
    text->setAlignmentPoint(AcGePoint3d(9, 9, 0));
    text->setWidthFactor(0.8);
    text->setOblique(0.2);
    const AcDbObjectId textId = add(text);

    auto* mtext = new AcDbMText;
    mtext->setContents(L"first\\Psecond");
    mtext->setLocation(AcGePoint3d(3, 3, 0));
    mtext->setTextHeight(0.7);
    mtext->setWidth(12.0);
    mtext->setRotation(1.0);
    mtext->setAttachment(AcDbMText::kBottomRight);
    const AcDbObjectId mtextId = add(mtext);

    const AcDbObjectId block = addBlock(L"TAGGED");
    auto* definition =
        new AcDbAttributeDefinition(AcGePoint3d(0, 1, 0), L"default", L"SIZE", L"Size?");
    definition->setInvisible(true);
    definition->setVerifiable(true);
    const AcDbObjectId definitionId = add(definition, block);
    const SvAttributeValue values[] = {{L"SIZE", L"DN50"}};
    AcDbObjectId refId;
    ASSERT_EQ(svInsertBlockReference(refId, db->modelSpaceId(), block, AcGePoint3d(5, 6, 0), values,
                                     0.5, 2.0),
              Acad::eOk);

    const AcDbObjectId rotatedId = add(new AcDbRotatedDimension(
        0.5, AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(0, 6, 0), L"<> mm"));
    auto* aligned =
        new AcDbAlignedDimension(AcGePoint3d(1, 0, 0), AcGePoint3d(1, 8, 0), AcGePoint3d(3, 0, 0));
    aligned->setTextPosition(AcGePoint3d(4, 4, 0));
    aligned->setOblique(0.1);
    const AcDbObjectId alignedId = add(aligned);

    auto* fcf =
        new AcDbFcf(L"%%v0.2", AcGePoint3d(8, 8, 0), AcGeVector3d::kZAxis, AcGeVector3d(0, 1, 0));
    fcf->setTextHeight(0.35);
    const AcDbObjectId fcfId = add(fcf);

    auto* leader = new AcDbLeader;
    leader->appendVertex(AcGePoint3d(0, 0, 0));
    leader->appendVertex(AcGePoint3d(2, 2, 0));
    leader->appendVertex(AcGePoint3d(5, 2, 0));
    leader->disableArrowHead();
    leader->attachAnnotation(mtextId);
    const AcDbObjectId leaderId = add(leader);

    auto* image = new AcDbRasterImage;
    image->setImageFileName(L"/plans/site.png");
    image->setOrientation(AcGePoint3d(1, 2, 0), AcGeVector3d(4, 1, 0), AcGeVector3d(-1, 3, 0));
    image->setImageSize(640, 480);
    const AcDbObjectId imageId = add(image);

    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint(AcGePoint3d(100, 80, 0));
    viewport->setWidth(60);
    viewport->setHeight(40);
    viewport->setViewCenter(AcGePoint2d(5, 6));
    viewport->setViewHeight(20);
    viewport->setViewTarget(AcGePoint3d(1, 1, 1));
    viewport->setViewDirection(AcGeVector3d(1, 1, 1));
    viewport->setTwistAngle(0.25);
    viewport->setOff();
    const AcDbObjectId viewportId = add(viewport, db->paperSpaceId());

    const std::unique_ptr<AcDbDatabase> loaded = saveAndLoad(db);
    AcDbDatabase* in = loaded.get();
    {
        Reading<AcDbLine> e(sameIn(in, lineId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->startPoint(), AcGePoint3d(1, 2, 3));
        EXPECT_EQ(e->endPoint(), AcGePoint3d(4, 5, 6));
        EXPECT_EQ(e->thickness(), 0.5);
        EXPECT_EQ(e->normal(), AcGeVector3d(0, 1, 0));
        EXPECT_EQ(e->colorIndex(), 3);
        EXPECT_EQ(taken(e->layer()), L"WALLS");
        EXPECT_EQ(e->ownerId(), in->modelSpaceId());
    }
    {
        Reading<AcDbPolyline> e(sameIn(in, plineId));
        ASSERT_EQ(e.status(), Acad::eOk);
        ASSERT_EQ(e->numVerts(), 3u);
        AcGePoint2d p;
        double bulge = 0.0;
        double w0 = 0.0;
        double w1 = 0.0;
        e->getPointAt(1, p);
        e->getBulgeAt(1, bulge);
        e->getWidthsAt(0, w0, w1);
        EXPECT_EQ(p, AcGePoint2d(4, 0));
        EXPECT_EQ(bulge, -1.0);
        EXPECT_EQ(w0, 0.1);
        EXPECT_EQ(w1, 0.2);
        EXPECT_TRUE(e->isClosed());
        EXPECT_EQ(e->elevation(), 7.0);
        EXPECT_EQ(e->thickness(), 1.5);
    }
    {
        Reading<AcDbCircle> e(sameIn(in, circleId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->center(), AcGePoint3d(1, 1, 1));
        EXPECT_EQ(e->radius(), 2.5);
        EXPECT_TRUE(e->normal().isEqualTo(AcGeVector3d(1, 1, 1).normal()));
    }
    {
        Reading<AcDbArc> e(sameIn(in, arcId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->radius(), 3.0);
        EXPECT_EQ(e->startAngle(), 0.25);
        EXPECT_EQ(e->endAngle(), 4.5);
        EXPECT_EQ(e->normal(), AcGeVector3d(0, 0, -1));
    }
    {
        Reading<AcDbEllipse> e(sameIn(in, ellipseId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->majorAxis(), AcGeVector3d(0, 5, 0));
        EXPECT_EQ(e->radiusRatio(), 0.4);
        EXPECT_NEAR(e->startAngle(), 0.5, 1e-12);
        EXPECT_NEAR(e->endAngle(), 2.5, 1e-12);
    }
    {
        Reading<AcDbRegion> e(sameIn(in, regionId));
        ASSERT_EQ(e.status(), Acad::eOk);
        double area = 0.0;
        e->getArea(area);
        EXPECT_NEAR(area, 3.14159265358979323846 / 2.0, 1e-12);
    }
    {
        Reading<AcDbText> e(sameIn(in, textId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(taken(e->textString()), L"Fläche ∑ 1");
        EXPECT_EQ(e->alignmentPoint(), AcGePoint3d(9, 9, 0));
        EXPECT_EQ(e->horizontalMode(), AcDb::kTextRight);
        EXPECT_EQ(e->verticalMode(), AcDb::kTextTop);
        EXPECT_EQ(e->height(), 2.5);
        EXPECT_EQ(e->rotation(), 0.3);
        EXPECT_EQ(e->widthFactor(), 0.8);
        EXPECT_EQ(e->oblique(), 0.2);
        Reading<AcDbText> before(textId);
        EXPECT_EQ(e->position(), before->position());
    }
    {
        Reading<AcDbMText> e(sameIn(in, mtextId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(taken(e->contents()), L"first\\Psecond");
        EXPECT_EQ(e->location(), AcGePoint3d(3, 3, 0));
        EXPECT_EQ(e->textHeight(), 0.7);
        EXPECT_EQ(e->width(), 12.0);
        EXPECT_EQ(e->rotation(), 1.0);
        EXPECT_EQ(e->attachment(), AcDbMText::kBottomRight);
    }
    {
        Reading<AcDbAttributeDefinition> e(sameIn(in, definitionId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(taken(e->tag()), L"SIZE");
        EXPECT_EQ(taken(e->prompt()), L"Size?");
        EXPECT_EQ(taken(e->textString()), L"default");
        EXPECT_TRUE(e->isInvisible());
        EXPECT_TRUE(e->isVerifiable());
        EXPECT_FALSE(e->isConstant());
        Reading<AcDbBlockTableRecord> record(sameIn(in, block));
        EXPECT_TRUE(record->hasAttributeDefinitions());
        AcDbObjectIdArray refs;
        record->getBlockReferenceIds(refs);
        ASSERT_EQ(refs.length(), 1);
        EXPECT_EQ(refs[0], sameIn(in, refId));
    }
    {
        Reading<AcDbBlockReference> e(sameIn(in, refId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->blockTableRecord(), sameIn(in, block));
        EXPECT_EQ(e->position(), AcGePoint3d(5, 6, 0));
        EXPECT_EQ(e->rotation(), 0.5);
        EXPECT_EQ(e->scaleFactors(), AcGeVector3d(2, 2, 2));
        std::unique_ptr<AcDbObjectIterator> it(e->attributeIterator());
        ASSERT_FALSE(it->done());
        Reading<AcDbAttribute> attribute(it->objectId());
        ASSERT_EQ(attribute.status(), Acad::eOk);
        EXPECT_EQ(taken(attribute->tag()), L"SIZE");
        EXPECT_EQ(taken(attribute->textString()), L"DN50");
        EXPECT_TRUE(attribute->isInvisible());
        EXPECT_EQ(attribute->ownerId(), e->objectId());
        it->step();
        EXPECT_TRUE(it->done());
    }
    {
        Reading<AcDbRotatedDimension> e(sameIn(in, rotatedId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->rotation(), 0.5);
        EXPECT_EQ(e->xLine2Point(), AcGePoint3d(3, 4, 0));
        EXPECT_EQ(e->dimLinePoint(), AcGePoint3d(0, 6, 0));
        EXPECT_EQ(taken(e->dimensionText()), L"<> mm");
        EXPECT_TRUE(e->isUsingDefaultTextPosition());
    }
    {
        Reading<AcDbAlignedDimension> e(sameIn(in, alignedId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->xLine1Point(), AcGePoint3d(1, 0, 0));
        EXPECT_EQ(e->textPosition(), AcGePoint3d(4, 4, 0));
        EXPECT_EQ(e->oblique(), 0.1);
        double value = 0.0;
        e->measurement(value);
        EXPECT_EQ(value, 8.0);
    }
    {
        Reading<AcDbFcf> e(sameIn(in, fcfId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(taken(e->text()), L"%%v0.2");
        EXPECT_EQ(e->location(), AcGePoint3d(8, 8, 0));
        EXPECT_EQ(e->direction(), AcGeVector3d(0, 1, 0));
        EXPECT_EQ(e->textHeight(), 0.35);
    }
    {
        Reading<AcDbLeader> e(sameIn(in, leaderId));
        ASSERT_EQ(e.status(), Acad::eOk);
        ASSERT_EQ(e->numVertices(), 3);
        EXPECT_EQ(e->vertexAt(2), AcGePoint3d(5, 2, 0));
        EXPECT_FALSE(e->hasArrowHead());
        EXPECT_EQ(e->annotationObjId(), sameIn(in, mtextId));
    }
    {
        Reading<AcDbRasterImage> e(sameIn(in, imageId));
        ASSERT_EQ(e.status(), Acad::eOk);
        AcGePoint3d origin;
        AcGeVector3d u;
        AcGeVector3d v;
        e->getOrientation(origin, u, v);
        EXPECT_EQ(origin, AcGePoint3d(1, 2, 0));
        EXPECT_EQ(u, AcGeVector3d(4, 1, 0));
        EXPECT_EQ(v, AcGeVector3d(-1, 3, 0));
        EXPECT_EQ(taken(e->imageFileName()), L"/plans/site.png");
        int w = 0;
        int h = 0;
        e->getImageSize(w, h);
        EXPECT_EQ(w, 640);
        EXPECT_EQ(h, 480);
    }
    {
        Reading<AcDbViewport> e(sameIn(in, viewportId));
        ASSERT_EQ(e.status(), Acad::eOk);
        EXPECT_EQ(e->ownerId(), in->paperSpaceId());
        EXPECT_EQ(e->centerPoint(), AcGePoint3d(100, 80, 0));
        EXPECT_EQ(e->width(), 60.0);
        EXPECT_EQ(e->height(), 40.0);
        EXPECT_EQ(e->viewCenter(), AcGePoint2d(5, 6));
        EXPECT_EQ(e->viewHeight(), 20.0);
        EXPECT_EQ(e->viewTarget(), AcGePoint3d(1, 1, 1));
        EXPECT_TRUE(e->viewDirection().isEqualTo(AcGeVector3d(1, 1, 1).normal()));
        EXPECT_EQ(e->twistAngle(), 0.25);
        EXPECT_FALSE(e->isOn());
    }
}

TEST_F(Filing, AnAbsurdVertexCountFailsTheLoadCleanly) {
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        AcDbDatabase drawing;
        AcDbBlockTableRecord* space = nullptr;
        acdbOpenObject(space, drawing.modelSpaceId(), AcDb::kForWrite);
        AcDbEntity* entity = nullptr;
        if (kind == 0) {
            auto* pline = new AcDbPolyline;
            pline->addVertexAt(0, AcGePoint2d(kMarker, 0));
            pline->addVertexAt(1, AcGePoint2d(1, 1));
            entity = pline;
        } else if (kind == 1) {
            auto* leader = new AcDbLeader;
            leader->appendVertex(AcGePoint3d(kMarker, 0, 0));
            entity = leader;
        } else {
            AcDbPolyline boundary;
            boundary.addVertexAt(0, AcGePoint2d(kMarker, 0), 1.0);
            boundary.addVertexAt(1, AcGePoint2d(0, 0), 1.0);
            boundary.setClosed(true);
            AcDbVoidPtrArray curves;
            curves.append(&boundary);
            AcDbVoidPtrArray regions;
            ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
            entity = static_cast<AcDbRegion*>(regions[0]);
        }
        space->appendAcDbEntity(entity);
        entity->close();
        space->close();
        std::vector<unsigned char> bytes = saveBytes(&drawing);
        EXPECT_EQ(loadBytes(bytes), Acad::eOk);
        // The count sits just before the first vertex's x.
        const std::size_t at = find(bytes, &kMarker, sizeof kMarker) - 4;
        for (std::uint32_t count : {0xFFFFFFFFu, 0x7FFFFFFFu, 1000000u}) {
            std::vector<unsigned char> hostile = bytes;
            put32(hostile, at, count);
            EXPECT_EQ(loadBytes(hostile), Acad::eBadDwgFile);
        }
    }
}

TEST_F(Filing, AnAbsurdAttributeCountOrAForeignIdFailsTheLoadCleanly) {
    const AcDbObjectId block = addBlock(L"B");
    add(new AcDbAttributeDefinition(AcGePoint3d(), L"v", L"T", L"?"), block);
    AcDbObjectId ref;
    ASSERT_EQ(svInsertBlockReference(ref, db->modelSpaceId(), block, AcGePoint3d(), {}, kMarker),
              Acad::eOk);
    std::vector<unsigned char> bytes = saveBytes(db);
    // After the rotation come the attribute count and the attribute's handle.
    double rotation = 0.0;
    {
        Reading<AcDbBlockReference> open(ref);
        rotation = open->rotation();
    }
    const std::size_t at = find(bytes, &rotation, sizeof rotation) + sizeof rotation;
    std::vector<unsigned char> hostile = bytes;
    put32(hostile, at, 0xFFFFFFF0u);
    EXPECT_EQ(loadBytes(hostile), Acad::eBadDwgFile);
    hostile = bytes;
    put32(hostile, at + 4, 0x7FFFFFFFu); // a handle the drawing does not have
    EXPECT_EQ(loadBytes(hostile), Acad::eBadDwgFile);
}

TEST_F(Filing, CoordinatesThatAreNotNumbersFailTheLoad) {
    add(new AcDbCircle(AcGePoint3d(kMarker, 0, 0), AcGeVector3d::kZAxis, 2.71875));
    std::vector<unsigned char> bytes = saveBytes(db);
    const std::size_t at = find(bytes, &kMarker, sizeof kMarker);
    for (double bad : {std::nan(""), double(INFINITY)}) {
        std::vector<unsigned char> hostile = bytes;
        std::memcpy(&hostile[at], &bad, sizeof bad);
        EXPECT_EQ(loadBytes(hostile), Acad::eBadDwgFile);
    }
    // A radius of 0 or below is no circle either.
    const double radius = 2.71875;
    const std::size_t radiusAt = find(bytes, &radius, sizeof radius);
    ASSERT_GT(radiusAt, at);
    std::vector<unsigned char> hostile = bytes;
    const double zero = 0.0;
    std::memcpy(&hostile[radiusAt], &zero, sizeof zero);
    EXPECT_EQ(loadBytes(hostile), Acad::eBadDwgFile);
}

TEST_F(Filing, ARecordOfANewerVersionIsKeptAsAProxy) {
    const AcDbObjectId lineId = add(new AcDbLine(AcGePoint3d(kMarker, 0, 0), AcGePoint3d()));
    std::vector<unsigned char> bytes = saveBytes(db);
    // The class version precedes the start point.
    const std::size_t at = find(bytes, &kMarker, sizeof kMarker) - 2;
    ASSERT_EQ(bytes[at], 1);
    bytes[at] = 2;
    AcDbDatabase newer(false);
    ASSERT_EQ(newer.readDwgData(bytes.data(), bytes.size()), Acad::eOk);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, sameIn(&newer, lineId), AcDb::kForRead), Acad::eOk);
    EXPECT_NE(AcDbProxyEntity::cast(obj), nullptr);
    obj->close();
    // Saved again, the bytes come back as they were.
    EXPECT_EQ(saveBytes(&newer), bytes);
}

TEST_F(Filing, AnAbortRestoresEveryVertex) {
    auto* pline = new AcDbPolyline;
    pline->addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    pline->addVertexAt(1, AcGePoint2d(1, 0));
    const AcDbObjectId id = add(pline);
    AcDbTransactionManager* tm = db->transactionManager();
    tm->startTransaction();
    {
        Writing<AcDbPolyline> open(id);
        open->setBulgeAt(0, 0.0);
        open->addVertexAt(2, AcGePoint2d(5, 5));
        open->setClosed(true);
    }
    ASSERT_EQ(tm->abortTransaction(), Acad::eOk);
    Reading<AcDbPolyline> open(id);
    EXPECT_EQ(open->numVerts(), 2u);
    double bulge = 0.0;
    open->getBulgeAt(0, bulge);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_FALSE(open->isClosed());
}
