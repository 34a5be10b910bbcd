// Drawings saved as DXF and read back: every entity kind keeps what it shows, objects keep their
// handles, dictionaries, extension dictionaries and reactors, and objects without a DXF form come
// back into their class.
#include <cmath>

#include "crt/format.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/proxy.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"
#include "db/viewport.h"
#include "db_test_support.h"

namespace {

class DxfRoundTrip : public DbTest {
protected:
    // Saved as DXF and read into a new database.
    AcDbDatabase* reloaded(AcDbDatabase* from) {
        const std::string path = tempPath("drawing.dxf");
        EXPECT_EQ(from->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
        loaded = std::make_unique<AcDbDatabase>(false);
        const Acad::ErrorStatus es = loaded->readDwgFile(svFromUtf8(path).c_str());
        EXPECT_EQ(es, Acad::eOk) << svToUtf8(svDbReadError());
        return loaded.get();
    }

    template <class T>
    T* open(AcDbDatabase* in, const AcDbHandle& handle) {
        AcDbObjectId id;
        EXPECT_EQ(in->getAcDbObjectId(id, false, handle), Acad::eOk);
        T* obj = nullptr;
        EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eOk);
        return obj;
    }

    std::unique_ptr<AcDbDatabase> loaded;
};

TEST_F(DxfRoundTrip, CurvesKeepTheirGeometry) {
    const AcDbObjectId line = append(db->modelSpaceId(), new AcDbLine({1, 2, 0}, {4.25, -6, 1.5}));
    auto* polyline = new AcDbPolyline;
    polyline->addVertexAt(0, {0, 0}, 0.5);
    polyline->addVertexAt(1, {6, 0}, 0.0, 0.1, 0.3);
    polyline->addVertexAt(2, {6, 4});
    polyline->setClosed(true);
    const AcDbObjectId pline = append(db->modelSpaceId(), polyline);
    const AcDbObjectId arc = append(db->modelSpaceId(), new AcDbArc({1, 1, 0}, 2.0, 0.25, 2.5));
    auto* ellipse = new AcDbEllipse({0, 0, 0}, AcGeVector3d::kZAxis, {3, 0, 0}, 0.5, 0.0, 1.0);
    const double endParam = ellipse->endParam();
    const AcDbObjectId ell = append(db->modelSpaceId(), ellipse);
    auto* circle = new AcDbCircle({-1, -1, 0}, AcGeVector3d::kZAxis, 1.0 / 3.0);
    circle->setLayer(L"Walls");
    circle->setColorIndex(3);
    const AcDbObjectId circ = append(db->modelSpaceId(), circle);

    AcDbDatabase* in = reloaded(db);
    auto* l = open<AcDbLine>(in, line.handle());
    EXPECT_EQ(l->endPoint(), AcGePoint3d(4.25, -6, 1.5));
    l->close();
    auto* p = open<AcDbPolyline>(in, pline.handle());
    ASSERT_EQ(p->numVerts(), 3u);
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
    p->getBulgeAt(0, bulge);
    p->getWidthsAt(1, startWidth, endWidth);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_EQ(endWidth, 0.3);
    EXPECT_TRUE(p->isClosed());
    p->close();
    auto* a = open<AcDbArc>(in, arc.handle());
    EXPECT_NEAR(a->startAngle(), 0.25, 1e-12);
    EXPECT_NEAR(a->endAngle(), 2.5, 1e-12);
    a->close();
    auto* e = open<AcDbEllipse>(in, ell.handle());
    EXPECT_NEAR(e->endParam(), endParam, 1e-12);
    EXPECT_EQ(e->radiusRatio(), 0.5);
    e->close();
    auto* c = open<AcDbCircle>(in, circ.handle());
    EXPECT_EQ(c->radius(), 1.0 / 3.0); // every digit of a real survives
    EXPECT_EQ(c->colorIndex(), 3);
    wchar_t* layer = c->layer();
    EXPECT_STREQ(layer, L"Walls");
    delete[] layer;
    c->close();
}

TEST_F(DxfRoundTrip, TextsAttributesAndAnnotationsKeepTheirWords) {
    auto* text = new AcDbText({1, 1, 0}, L"Caf\u00e9 \u03a9", AcDbObjectId(), 0.3, 0.5);
    text->setHorizontalMode(AcDb::kTextCenter);
    text->setAlignmentPoint({2, 1, 0});
    const AcDbObjectId textId = append(db->modelSpaceId(), text);

    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord;
    block->setName(L"ROOM");
    AcDbObjectId blockId;
    ASSERT_EQ(table->add(blockId, block), Acad::eOk);
    block->close();
    table->close();
    append(blockId, new AcDbAttributeDefinition({0, 0, 0}, L"?", L"NAME", L"Name"));
    auto* reference = new AcDbBlockReference({5, 5, 0}, blockId);
    const AcDbObjectId referenceId = append(db->modelSpaceId(), reference);
    AcDbBlockReference* opened = nullptr;
    ASSERT_EQ(acdbOpenObject(opened, referenceId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(opened->appendAttribute(new AcDbAttribute({5, 5, 0}, L"Kitchen", L"NAME")),
              Acad::eOk);
    opened->close();

    auto* mtext = new AcDbMText;
    const std::wstring longText = std::wstring(600, L'x') + L"\u00fc end";
    mtext->setContents(longText.c_str());
    mtext->setLocation({0, 9, 0});
    const AcDbObjectId mtextId = append(db->modelSpaceId(), mtext);
    auto* leader = new AcDbLeader;
    leader->appendVertex({0, 0, 0});
    leader->appendVertex({0, 9, 0});
    const AcDbObjectId leaderId = append(db->modelSpaceId(), leader);
    AcDbLeader* openedLeader = nullptr;
    ASSERT_EQ(acdbOpenObject(openedLeader, leaderId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(openedLeader->attachAnnotation(mtextId), Acad::eOk);
    openedLeader->close();
    auto* dimension = new AcDbRotatedDimension(0.0, {0, 0, 0}, {4, 0, 0}, {2, 1, 0}, L"4.00 m");
    const AcDbObjectId dimensionId = append(db->modelSpaceId(), dimension);

    AcDbDatabase* in = reloaded(db);
    auto* t = open<AcDbText>(in, textId.handle());
    EXPECT_STREQ(t->textStringConst(), L"Caf\u00e9 \u03a9");
    EXPECT_EQ(t->horizontalMode(), AcDb::kTextCenter);
    EXPECT_EQ(t->alignmentPoint(), AcGePoint3d(2, 1, 0));
    t->close();
    auto* r = open<AcDbBlockReference>(in, referenceId.handle());
    AcDbObjectIterator* it = r->attributeIterator();
    ASSERT_FALSE(it->done());
    AcDbAttribute* attribute = nullptr;
    ASSERT_EQ(acdbOpenObject(attribute, it->objectId(), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(attribute->textStringConst(), L"Kitchen");
    EXPECT_STREQ(attribute->tagConst(), L"NAME");
    attribute->close();
    delete it;
    AcDbBlockTableRecord* definition = nullptr;
    ASSERT_EQ(acdbOpenObject(definition, r->blockTableRecord(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(definition->hasAttributeDefinitions());
    definition->close();
    r->close();
    auto* m = open<AcDbMText>(in, mtextId.handle());
    EXPECT_EQ(std::wstring(m->contentsConst()), longText);
    m->close();
    auto* ld = open<AcDbLeader>(in, leaderId.handle());
    EXPECT_EQ(ld->annotationObjId().handle(), mtextId.handle());
    ld->close();
    auto* d = open<AcDbRotatedDimension>(in, dimensionId.handle());
    wchar_t* dimensionText = d->dimensionText();
    EXPECT_STREQ(dimensionText, L"4.00 m");
    delete[] dimensionText;
    EXPECT_EQ(d->xLine2Point(), AcGePoint3d(4, 0, 0));
    d->close();
}

TEST_F(DxfRoundTrip, PaperSpaceImagesAndSystemVariablesStay) {
    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint({5, 4, 0});
    viewport->setWidth(8);
    viewport->setHeight(6);
    const AcDbObjectId viewportId = append(db->paperSpaceId(), viewport);
    auto* image = new AcDbRasterImage;
    image->setImageFileName(L"plan.png");
    image->setImageSize(200, 100);
    image->setOrientation({1, 1, 0}, {4, 0, 0}, {0, 2, 0});
    const AcDbObjectId imageId = append(db->modelSpaceId(), image);
    ASSERT_EQ(db->setLuprec(3), Acad::eOk);
    ASSERT_EQ(db->setLunits(4), Acad::eOk);

    AcDbDatabase* in = reloaded(db);
    EXPECT_EQ(in->luprec(), 3);
    EXPECT_EQ(in->lunits(), 4);
    auto* v = open<AcDbViewport>(in, viewportId.handle());
    EXPECT_EQ(v->ownerId(), in->paperSpaceId());
    EXPECT_EQ(v->width(), 8.0);
    v->close();
    auto* i = open<AcDbRasterImage>(in, imageId.handle());
    wchar_t* file = i->imageFileName();
    EXPECT_STREQ(file, L"plan.png");
    delete[] file;
    AcGePoint3d origin;
    AcGeVector3d u;
    AcGeVector3d v2;
    i->getOrientation(origin, u, v2);
    EXPECT_NEAR(u.x, 4.0, 1e-12);
    EXPECT_NEAR(v2.y, 2.0, 1e-12);
    i->close();
}

// A region has no DXF form of its own here: it travels as a proxy entity holding its DWG bytes and
// comes back a region.
TEST_F(DxfRoundTrip, RegionsComeBackAsRegions) {
    AcDbPolyline outline;
    outline.addVertexAt(0, {0, 0});
    outline.addVertexAt(1, {6, 0});
    outline.addVertexAt(2, {6, 4});
    outline.addVertexAt(3, {0, 4});
    outline.setClosed(true);
    AcDbVoidPtrArray curves;
    curves.append(&outline);
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    ASSERT_EQ(regions.length(), 1);
    const AcDbObjectId region = append(db->modelSpaceId(), static_cast<AcDbRegion*>(regions[0]));

    AcDbDatabase* in = reloaded(db);
    auto* back = open<AcDbRegion>(in, region.handle());
    double area = 0.0;
    EXPECT_EQ(back->getArea(area), Acad::eOk);
    EXPECT_EQ(area, 24.0);
    back->close();
}

// A link travels as a proxy record holding its DWG bytes and comes back into its class: changing
// its source after the trip still reaches its target.
TEST_F(DxfRoundTrip, LinksComeBackAsLinksAndStillFollowTheirSources) {
    const AcDbObjectId source = addEntity(db->modelSpaceId());
    const AcDbObjectId counter = addRecord(10);
    const AcDbObjectId link = attachLink(source, counter);
    const Adesk::Int32 before = readValue(counter);

    AcDbDatabase* in = reloaded(db);
    auto* entity = open<AcDbEntity>(in, source.handle());
    ASSERT_EQ(entity->persistentReactors().length(), 1);
    EXPECT_EQ(entity->persistentReactors()[0].handle(), link.handle());
    AcDbDictionary* xdict = nullptr;
    ASSERT_EQ(acdbOpenObject(xdict, entity->extensionDictionary(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(xdict->has(entity->persistentReactors()[0]));
    xdict->close();
    const AcDbObjectId sourceId = entity->objectId();
    entity->close();
    auto* revived = open<AcDbObject>(in, link.handle());
    EXPECT_NE(DbTestLink::cast(revived), nullptr);
    revived->close();

    AcDbObjectId counterId;
    ASSERT_EQ(in->getAcDbObjectId(counterId, false, counter.handle()), Acad::eOk);
    AcDbEntity* changed = nullptr;
    ASSERT_EQ(acdbOpenObject(changed, sourceId, AcDb::kForWrite), Acad::eOk);
    changed->setColorIndex(5);
    changed->close();
    EXPECT_EQ(readValue(counterId), before + 1);
}

// Read while their class is not registered, links stay proxies that keep their bytes, and a second
// trip through DXF gives them back whole.
TEST_F(DxfRoundTrip, UnregisteredClassesStayProxiesAndSurviveAnotherTrip) {
    const AcDbObjectId source = addEntity(db->modelSpaceId());
    const AcDbObjectId counter = addRecord(7);
    const AcDbObjectId link = attachLink(source, counter);
    const Adesk::Int32 value = readValue(counter);
    const std::string first = tempPath("first.dxf");
    ASSERT_EQ(db->saveAs(svFromUtf8(first).c_str()), Acad::eOk);

    deleteAcRxClass(DbTestLink::desc());
    deleteAcRxClass(DbTestRecord::desc());
    AcDbDatabase middle(false);
    ASSERT_EQ(middle.readDwgFile(svFromUtf8(first).c_str()), Acad::eOk)
        << svToUtf8(svDbReadError());
    auto* proxy = open<AcDbObject>(&middle, link.handle());
    EXPECT_NE(AcDbProxyObject::cast(proxy), nullptr);
    proxy->close();
    const std::string second = tempPath("second.dxf");
    ASSERT_EQ(middle.saveAs(svFromUtf8(second).c_str()), Acad::eOk);
    DbTestRecord::rxInit();
    DbTestLink::rxInit();

    AcDbDatabase last(false);
    ASSERT_EQ(last.readDwgFile(svFromUtf8(second).c_str()), Acad::eOk) << svToUtf8(svDbReadError());
    auto* record = open<AcDbObject>(&last, counter.handle());
    ASSERT_NE(DbTestRecord::cast(record), nullptr);
    EXPECT_EQ(DbTestRecord::cast(record)->value(), value);
    record->close();
}

} // namespace
