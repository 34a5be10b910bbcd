#include <gtest/gtest.h>

#include "db/line.h"
#include "db/viewport.h"
#include "drawing_view.h"
#include "ed/spaces.h"
#include "entity_test_support.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/surface.h"
#include "view_space.h"

namespace {

// A layout 100 units square seen whole in a view of 200 pixels: paper (x, y) lands on pixel
// (2x, 200 - 2y).
class LayoutView : public EntityTest {
protected:
    void SetUp() override {
        EntityTest::SetUp();
        view.resize(kSize, kSize);
        PlotFrame frame;
        frame.width = frame.height = 100;
        view.zoomExtents(frame);
        surface = svCreateSurface(kSize, kSize);
        ASSERT_NE(surface, nullptr);
    }
    void TearDown() override {
        svDestroySurface(surface);
        EntityTest::TearDown();
    }

    void paint(AcDbObjectId space) {
        HDC dc = svCreateSurfaceDC(surface, {0, 0}, {0, 0, kSize, kSize});
        const RECT all{0, 0, kSize, kSize};
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &all, white);
        DeleteObject(white);
        view.paint(db, space, dc);
        DeleteDC(dc);
    }
    // How many pixels of a row, from column `from` up to `to`, are not white.
    int ink(int row, int from = 0, int to = kSize) const {
        int count = 0;
        for (int x = from; x < to; ++x)
            count += svSurfacePixel(surface, x, row) != RGB(255, 255, 255) ? 1 : 0;
        return count;
    }

    // 40 by 20 on paper around (50, 50), showing 10 model units high around (50, 5): scale 2.
    AcDbObjectId addViewport() {
        auto* viewport = new AcDbViewport;
        viewport->setCenterPoint(AcGePoint3d(50, 50, 0));
        viewport->setWidth(40);
        viewport->setHeight(20);
        viewport->setViewCenter(AcGePoint2d(50, 5));
        viewport->setViewHeight(10);
        return add(viewport, db->paperSpaceId());
    }

    static constexpr int kSize = 200;
    window::DrawingView view;
    SvSurface* surface = nullptr;
};

TEST_F(LayoutView, ModelSpaceShowsThroughTheViewportAtItsScaleAndCentreClippedToIt) {
    // A model line far longer than the viewport shows, 2 units above the view's centre.
    add(new AcDbLine(AcGePoint3d(-100, 7, 0), AcGePoint3d(200, 7, 0)));
    addViewport();

    paint(db->paperSpaceId());
    // The line at paper y = 50 + 2 * 2 = 54, pixel row 92, from frame to frame (pixels 60 to
    // 140), and not beyond.
    EXPECT_GE(ink(92, 62, 139), 75);
    EXPECT_EQ(ink(92, 0, 57), 0);
    EXPECT_EQ(ink(92, 143), 0);
    // Inside nothing else: at scale 1 the line would be at paper y 52, pixel row 96.
    EXPECT_EQ(ink(96, 62, 139), 0);
    // Outside the viewport, above and below it, the layout stays empty.
    EXPECT_EQ(ink(30), 0);
    EXPECT_EQ(ink(150), 0);

    // The model itself shows the line where it is, across the whole view.
    paint(db->modelSpaceId());
    EXPECT_EQ(ink(92), 0);
    EXPECT_EQ(ink(200 - 14), kSize);
}

TEST_F(LayoutView, WorkingThroughAViewportTheLayoutStaysInViewAndPicksLandInModelSpace) {
    const AcDbObjectId viewportId = addViewport();
    window::ViewSpace space = window::viewSpaceOf(db);
    EXPECT_EQ(space.shown, db->modelSpaceId());
    ASSERT_EQ(db->setTilemode(false), Acad::eOk);
    space = window::viewSpaceOf(db);
    EXPECT_EQ(space.shown, db->paperSpaceId());
    EXPECT_DOUBLE_EQ(space.picked({30, 40}).x, 30) << "on the paper itself nothing changes";
    EXPECT_DOUBLE_EQ(space.pickedPerShown, 1.0);

    {
        Reading<AcDbViewport> viewport(viewportId);
        ASSERT_EQ(acedSetCurrentVPort(viewport.get()), Acad::eOk);
    }
    space = window::viewSpaceOf(db);
    EXPECT_EQ(space.shown, db->paperSpaceId());
    // The viewport's centre shows the view's centre; two paper units are one of the model.
    const window::ViewPoint centre = space.picked({50, 50});
    EXPECT_NEAR(centre.x, 50, 1e-9);
    EXPECT_NEAR(centre.y, 5, 1e-9);
    const window::ViewPoint corner = space.picked({30, 40});
    EXPECT_NEAR(corner.x, 40, 1e-9);
    EXPECT_NEAR(corner.y, 0, 1e-9);
    EXPECT_DOUBLE_EQ(space.pickedPerShown, 0.5);
    EXPECT_EQ(svCurrentViewportId(db), viewportId);

    ASSERT_EQ(acedPspace(db), Acad::eOk);
    EXPECT_TRUE(svCurrentViewportId(db).isNull());
    EXPECT_DOUBLE_EQ(window::viewSpaceOf(db).picked({30, 40}).y, 40);
}

} // namespace
