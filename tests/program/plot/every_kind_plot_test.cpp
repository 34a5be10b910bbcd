#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/fcf.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "entity_test_support.h"
#include "plot/svg_plot.h"
#include "support/run_program.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A drawing with every kind of entity the host draws, in the variants that look different: in
// model space, in a block inserted plainly, scaled and turned, and on a layout through viewports.
class EveryKindPlot : public EntityTest {
protected:
    void SetUp() override {
        EntityTest::SetUp();
        build();
    }

    AcDbObjectId add(AcDbEntity* entity, AcDbObjectId space = AcDbObjectId(),
                     Adesk::UInt16 color = kSvColorByLayer) {
        entity->setColorIndex(color);
        return EntityTest::add(entity, space);
    }

    static AcDbPolyline* polyline(std::initializer_list<AcGePoint2d> points,
                                  std::initializer_list<double> bulges, bool closed) {
        auto* pl = new AcDbPolyline;
        unsigned i = 0;
        auto bulge = bulges.begin();
        for (const AcGePoint2d& p : points) {
            pl->addVertexAt(i++, p, bulge != bulges.end() ? *bulge : 0.0);
            if (bulge != bulges.end())
                ++bulge;
        }
        pl->setClosed(closed);
        return pl;
    }

    static AcDbText* text(const AcGePoint3d& at, const wchar_t* content, double height,
                          double rotation) {
        auto* t = new AcDbText(at, content);
        t->setHeight(height);
        t->setRotation(rotation);
        return t;
    }

    static AcDbText* justified(const AcGePoint3d& at, const AcGePoint3d& alignment,
                               const wchar_t* content, AcDb::TextHorzMode horizontal,
                               AcDb::TextVertMode vertical) {
        AcDbText* t = text(at, content, 0.3, 0.0);
        t->setHorizontalMode(horizontal);
        t->setVerticalMode(vertical);
        t->setAlignmentPoint(alignment);
        t->adjustAlignment();
        return t;
    }

    static AcDbMText* mtext(const AcGePoint3d& at, const wchar_t* contents, double width,
                            AcDbMText::AttachmentPoint attachment, double rotation) {
        auto* m = new AcDbMText;
        m->setLocation(at);
        m->setTextHeight(0.3);
        m->setWidth(width);
        m->setAttachment(attachment);
        m->setRotation(rotation);
        m->setContents(contents);
        return m;
    }

    void buildBlocks() {
        const AcDbObjectId inner = addBlock(L"INNER");
        add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 0.3), inner,
            kSvColorByBlock);
        tag = addBlock(L"TAG");
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)), tag);
        add(new AcDbArc(AcGePoint3d(0, 0, 0), 1.0, 0.0, kPi / 2), tag, kSvColorByBlock);
        add(polyline({{0, -1}, {1, -1}, {1, -2}}, {0.5, 0.0}, false), tag, 5);
        add(new AcDbEllipse(AcGePoint3d(2, 0, 0), AcGeVector3d::kZAxis, AcGeVector3d(0.5, 0, 0),
                            0.5),
            tag);
        add(text(AcGePoint3d(0, -3, 0), L"In the block", 0.2, 0.0), tag);
        add(new AcDbAttributeDefinition(AcGePoint3d(0, 1, 0), L"T-1", L"NUM", L"Tag number"), tag);
        auto* hidden =
            new AcDbAttributeDefinition(AcGePoint3d(0, 2, 0), L"secret", L"HIDE", L"Hidden");
        hidden->setInvisible(true);
        add(hidden, tag);
        auto* constant =
            new AcDbAttributeDefinition(AcGePoint3d(0, 3, 0), L"Fixed", L"CONST", L"Constant");
        constant->setConstant(true);
        add(constant, tag);
        add(new AcDbBlockReference(AcGePoint3d(2, 2, 0), inner), tag, 4);
        add(new AcDbBlockReference(AcGePoint3d(3, 2, 0), inner), tag, kSvColorByBlock);

        const SvAttributeValue values[] = {{L"NUM", L"T 42"}, {L"HIDE", L"unseen"}};
        ASSERT_EQ(svInsertBlockReference(firstInModel, db->modelSpaceId(), tag,
                                         AcGePoint3d(20, 0, 0), values),
                  Acad::eOk);
        AcDbObjectId ref;
        ASSERT_EQ(svInsertBlockReference(ref, db->modelSpaceId(), tag, AcGePoint3d(40, 0, 0),
                                         values, kPi / 6, 2.0),
                  Acad::eOk);
        Writing<AcDbBlockReference>(ref)->setColorIndex(3);
    }

    void buildCurves() {
        add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), AcDbObjectId(), 1);
        add(polyline({{0, 2}, {4, 2}, {4, 4}, {0, 4}}, {0.0, 1.0, 0.0, -0.3}, true));
        AcDbPolyline* below = polyline({{12, 4}, {14, 4}, {14, 6}}, {0.0, 0.7}, false);
        below->setNormal(-AcGeVector3d::kZAxis);
        add(below, AcDbObjectId(), 250);
        add(new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 1.5), AcDbObjectId(), 42);
        add(new AcDbArc(AcGePoint3d(2, 8, 0), 1.0, 0.0, kPi / 2));
        add(new AcDbArc(AcGePoint3d(6, 8, 0), 1.0, 0.5, 4.5), AcDbObjectId(), 131);
        add(new AcDbArc(AcGePoint3d(9, 8, 0), -AcGeVector3d::kZAxis, 1.0, 0.0, 2.0));
        add(new AcDbEllipse(AcGePoint3d(25, 5, 0), AcGeVector3d::kZAxis, AcGeVector3d(3, 0, 0),
                            1.0 / 3.0));
        add(new AcDbEllipse(AcGePoint3d(25, 9, 0), AcGeVector3d::kZAxis, AcGeVector3d(1, 2, 0), 0.5,
                            0.5, 4.0));
        AcDbPolyline* loop = polyline({{12, 0}, {14, 0}, {14, 2}, {12, 2}}, {0.0, 0.5}, true);
        AcDbVoidPtrArray curves, regions;
        curves.append(loop);
        ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
        delete loop;
        for (int i = 0; i < regions.length(); ++i)
            add(static_cast<AcDbEntity*>(regions[i]), AcDbObjectId(), 6);
    }

    void buildTexts() {
        leftText = add(text(AcGePoint3d(0, 10, 0), L"Left <b> & 'q'", 0.5, 0.0));
        add(text(AcGePoint3d(0, 11, 0), L"Turned", 0.3, kPi / 12));
        AcDbText* narrow = text(AcGePoint3d(8, 11, 0), L"Narrow", 0.3, 0.0);
        narrow->setWidthFactor(0.6);
        add(narrow);
        add(text(AcGePoint3d(12, 11, 0), L"Default height", 0.0, 0.0));
        add(justified(AcGePoint3d(), AcGePoint3d(5, 12, 0), L"Middle centre", AcDb::kTextCenter,
                      AcDb::kTextVertMid));
        auto* aligned = justified(AcGePoint3d(0, 13, 0), AcGePoint3d(6, 13, 0), L"Aligned",
                                  AcDb::kTextAlign, AcDb::kTextBase);
        add(aligned);
        add(justified(AcGePoint3d(0, 14, 0), AcGePoint3d(6, 14.5, 0), L"Fitted", AcDb::kTextFit,
                      AcDb::kTextBase));
        add(justified(AcGePoint3d(), AcGePoint3d(6, 15, 0), L"Right", AcDb::kTextRight,
                      AcDb::kTextBase));
        add(justified(AcGePoint3d(), AcGePoint3d(0, 16, 0), L"Top left", AcDb::kTextLeft,
                      AcDb::kTextTop));
        add(mtext(AcGePoint3d(10, 10, 0), L"First paragraph\\PSecond paragraph", 0.0,
                  AcDbMText::kTopLeft, 0.0));
        add(mtext(AcGePoint3d(16, 14, 0), L"Wrapped words in a narrow column", 3.0,
                  AcDbMText::kMiddleCenter, kPi / 8));
        add(mtext(AcGePoint3d(22, 14, 0), L"{\\H2x;Bottom} right", 0.0, AcDbMText::kBottomRight,
                  0.0));
        add(new AcDbAttributeDefinition(AcGePoint3d(0, 18, 0), L"value", L"LOOSE", L"Loose"));
        add(new AcDbFcf(L"{\\Fgdt;j}%%v0.1", AcGePoint3d(8, 18, 0), AcGeVector3d::kZAxis,
                        AcGeVector3d(1, 1, 0)));
    }

    void buildAnnotations() {
        add(new AcDbRotatedDimension(0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0),
                                     AcGePoint3d(5, -2, 0)));
        add(new AcDbRotatedDimension(kPi / 2, AcGePoint3d(0, 0, 0), AcGePoint3d(0, 4, 0),
                                     AcGePoint3d(-2, 2, 0), L"Height"));
        add(new AcDbAlignedDimension(AcGePoint3d(0, 2, 0), AcGePoint3d(4, 4, 0),
                                     AcGePoint3d(1, 5, 0), L"Along <>"));
        add(new AcDbAlignedDimension(AcGePoint3d(4, 4, 0), AcGePoint3d(0, 2, 0),
                                     AcGePoint3d(3, 1, 0)));
        const AcDbObjectId note =
            add(mtext(AcGePoint3d(8.2, 8, 0), L"Look here", 0.0, AcDbMText::kMiddleLeft, 0.0));
        auto* leader = new AcDbLeader;
        leader->appendVertex(AcGePoint3d(6, 6, 0));
        leader->appendVertex(AcGePoint3d(7, 7.5, 0));
        leader->appendVertex(AcGePoint3d(8, 8, 0));
        const AcDbObjectId leaderId = add(leader);
        AcDbLeader* writing = nullptr;
        ASSERT_EQ(acdbOpenObject(writing, leaderId, AcDb::kForWrite), Acad::eOk);
        writing->attachAnnotation(note);
        writing->close();
        auto* bare = new AcDbLeader;
        bare->appendVertex(AcGePoint3d(16, 6, 0));
        bare->appendVertex(AcGePoint3d(18, 8, 0));
        bare->disableArrowHead();
        add(bare);
        auto* image = new AcDbRasterImage;
        image->setOrientation(AcGePoint3d(20, 5, 0), AcGeVector3d(4, 0, 0), AcGeVector3d(0, 3, 0));
        image->setImageFileName(L"photo.png");
        add(image);
    }

    static AcDbViewport* viewport(const AcGePoint3d& center, double width, double height,
                                  const AcGePoint2d& viewCenter, double viewHeight) {
        auto* viewport = new AcDbViewport;
        viewport->setCenterPoint(center);
        viewport->setWidth(width);
        viewport->setHeight(height);
        viewport->setViewCenter(viewCenter);
        viewport->setViewHeight(viewHeight);
        return viewport;
    }

    void buildLayout() {
        add(viewport(AcGePoint3d(4, 3, 0), 8, 6, AcGePoint2d(20, 8), 30), db->paperSpaceId());
        AcDbViewport* turned = viewport(AcGePoint3d(12, 3, 0), 4, 4, AcGePoint2d(5, 5), 6);
        turned->setTwistAngle(0.3);
        add(turned, db->paperSpaceId(), 2);
        add(viewport(AcGePoint3d(18, 3, 0), 2, 2, AcGePoint2d(), 6), db->paperSpaceId());
        add(text(AcGePoint3d(1, 7, 0), L"Paper note", 0.3, 0.0), db->paperSpaceId());
    }

    void build() {
        buildBlocks();
        buildCurves();
        buildTexts();
        buildAnnotations();
        buildLayout();
    }

    // What the comparison script says of the plot of `space` against the reference plot.
    std::string compareWithReference(AcDbObjectId space, const std::string& name) {
        const std::string actual =
            ::testing::TempDir() + "sv_plot_" + std::to_string(::getpid()) + "_" + name;
        {
            std::ofstream out(actual, std::ios::binary);
            out << svPlotToSvg(db, space);
        }
        const std::string command = "python3 '" SV_PLOT_TEST_DIR
                                    "/svg_compare.py' '" SV_PLOT_TEST_DIR "/reference/" +
                                    name + "' '" + actual + "' 2>&1; echo \"status $?\"";
        std::string out = runCommand(command).output;
        if (out == "status 0\n")
            std::remove(actual.c_str());
        else
            out += "(the plot is kept as " + actual + ")\n";
        return out;
    }

    AcDbObjectId tag;
    AcDbObjectId firstInModel;
    AcDbObjectId leftText;
};

// The references were plotted before entities drew themselves; the plots must not have changed.
TEST_F(EveryKindPlot, PlotsMatchTheReferencesShapeForShape) {
    EXPECT_EQ(compareWithReference(db->modelSpaceId(), "model.svg"), "status 0\n");
    EXPECT_EQ(compareWithReference(db->paperSpaceId(), "layout.svg"), "status 0\n");
    EXPECT_EQ(compareWithReference(tag, "block.svg"), "status 0\n");
}

// The comparison itself must see a moved shape, a changed text and a missing element.
TEST_F(EveryKindPlot, TheComparisonNoticesChanges) {
    {
        Writing<AcDbEntity> moved(firstInModel);
        ASSERT_EQ(moved->transformBy(AcGeMatrix3d::translation(AcGeVector3d(0, 1e-3, 0))),
                  Acad::eOk);
    }
    const std::string afterMove = compareWithReference(db->modelSpaceId(), "model.svg");
    EXPECT_NE(afterMove.find("y2: '-1', found '-1.001'"), std::string::npos) << afterMove;
    {
        Writing<AcDbText> changed(leftText);
        ASSERT_EQ(changed->setTextString(L"Left <i> & 'q'"), Acad::eOk);
    }
    const std::string afterEdit = compareWithReference(db->modelSpaceId(), "model.svg");
    EXPECT_NE(afterEdit.find("Left <i> & 'q'"), std::string::npos) << afterEdit;
    {
        Writing<AcDbEntity> erased(firstInModel);
        ASSERT_EQ(erased->erase(), Acad::eOk);
    }
    const std::string afterErase = compareWithReference(db->modelSpaceId(), "model.svg");
    EXPECT_NE(afterErase.find("elements expected"), std::string::npos) << afterErase;
}

} // namespace
