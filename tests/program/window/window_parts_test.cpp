#include <gtest/gtest.h>

#include "command_line.h"
#include "drawing_view.h"
#include "pointer_answer.h"

namespace {

using window::DrawingView;
using window::ViewPoint;

DrawingView viewOf(int width, int height, double left, double bottom, double frameWidth,
                   double frameHeight) {
    DrawingView view;
    view.resize(width, height);
    PlotFrame frame;
    frame.left = left;
    frame.bottom = bottom;
    frame.width = frameWidth;
    frame.height = frameHeight;
    view.zoomExtents(frame);
    return view;
}

TEST(DrawingView, ExtentsFillTheViewAndPixelsMapBothWays) {
    DrawingView view = viewOf(200, 100, 10, 20, 40, 10);
    // The wider side decides: 40 units over 200 pixels; the frame's centre is the view's.
    EXPECT_DOUBLE_EQ(view.unitsPerPixel(), 0.2);
    const POINT centre = view.toPixel({30, 25});
    EXPECT_EQ(centre.x, 100);
    EXPECT_EQ(centre.y, 50);
    // y points up in the drawing and down in pixels.
    const ViewPoint topLeft = view.toDrawing({0, 0});
    EXPECT_DOUBLE_EQ(topLeft.x, 10);
    EXPECT_DOUBLE_EQ(topLeft.y, 35);
    EXPECT_TRUE(view.followsExtents());
}

TEST(DrawingView, ZoomKeepsThePointUnderThePointerAndPanMovesThePicture) {
    DrawingView view = viewOf(300, 200, 0, 0, 30, 20);
    const POINT pointer{75, 150};
    const ViewPoint under = view.toDrawing(pointer);
    view.zoomAbout(pointer, 2.0);
    EXPECT_DOUBLE_EQ(view.unitsPerPixel(), 0.05);
    const ViewPoint after = view.toDrawing(pointer);
    EXPECT_NEAR(after.x, under.x, 1e-12);
    EXPECT_NEAR(after.y, under.y, 1e-12);
    EXPECT_FALSE(view.followsExtents());

    // Dragging right and down by ten pixels carries what was at (0,0) to (10,10).
    const ViewPoint corner = view.toDrawing({0, 0});
    view.pan(10, 10);
    const POINT moved = view.toPixel(corner);
    EXPECT_EQ(moved.x, 10);
    EXPECT_EQ(moved.y, 10);
    view.followExtents();
    EXPECT_TRUE(view.followsExtents());
}

TEST(DrawingView, HostileZoomStaysFinite) {
    DrawingView view;
    view.resize(100, 100);
    for (int i = 0; i < 200; ++i)
        view.zoomAbout({50, 50}, 1e6);
    const POINT far = view.toPixel({1e300, -1e300});
    EXPECT_LE(far.x, 1000000);
    EXPECT_GE(far.y, -1000000);
    PlotFrame empty;
    empty.width = 0;
    empty.height = 0;
    view.zoomExtents(empty);
    EXPECT_GT(view.unitsPerPixel(), 0.0);
}

TEST(PointerAnswer, PointsCarryThePrecisionOfAPixel) {
    EXPECT_EQ(window::pointAnswer({3.14159, -2.71828}, 0.01), L"3.14,-2.72");
    EXPECT_EQ(window::pointAnswer({3.14159, 2.5}, 0.5), L"3.1,2.5");
    EXPECT_EQ(window::pointAnswer({-0.0001, 1.20}, 0.001), L"0,1.2");
    EXPECT_EQ(window::pointAnswer({12345.678, 0}, 20), L"12346,0");
}

TEST(PointerAnswer, DragDirectionChoosesWindowOrCrossing) {
    EXPECT_EQ(window::selectionDragAnswer({1, 1}, {4, 3}, 0.1), L"W 1,1 4,3");
    EXPECT_EQ(window::selectionDragAnswer({4, 3}, {1, 1}, 0.1), L"C 4,3 1,1");
}

TEST(CommandLine, PromptKeywordsAndWhatThePromptWants) {
    const std::wstring prompt = L"Save changes to A.svd? [Yes/No/Cancel] <Yes>: ";
    const auto words = window::promptKeywords(prompt);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].word, L"Yes");
    EXPECT_EQ(prompt.substr(words[2].start, 6), L"Cancel");
    EXPECT_TRUE(window::promptKeywords(L"Radius [: ").empty());
    EXPECT_TRUE(window::promptKeywords(L"Pick a point: ").empty());

    EXPECT_EQ(window::promptWants(L"Command: "), window::PromptWants::Command);
    EXPECT_EQ(window::promptWants(L""), window::PromptWants::Command);
    EXPECT_EQ(window::promptWants(L"Select objects: "), window::PromptWants::Selection);
    EXPECT_EQ(window::promptWants(L"Remove objects: "), window::PromptWants::Selection);
    EXPECT_EQ(window::promptWants(L"Specify center point: "), window::PromptWants::Point);
}

TEST(CommandLine, HistoryPromptTypingAndEcho) {
    window::CommandLine line(false);
    line.write(L"\nCommand: ");
    EXPECT_EQ(line.prompt(), L"Command: ");
    line.type(L"CIRCLX");
    line.erase();
    line.type(L"E");
    EXPECT_EQ(line.take(), L"CIRCLE");
    EXPECT_TRUE(line.typed().empty());
    line.write(L"\nCenter: ");
    line.echo(L"1,2");
    line.write(L"\nCIRCLE 5 created.\nCommand: ");
    const auto rows = line.history(3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], L"Center: 1,2");
    EXPECT_EQ(rows[1], L"");
    EXPECT_EQ(rows[2], L"CIRCLE 5 created.");
    EXPECT_EQ(line.prompt(), L"Command: ");
    line.erase(); // nothing typed: nothing to erase
    EXPECT_TRUE(line.typed().empty());
}

TEST(CommandLine, HistoryIsBounded) {
    window::CommandLine line(false);
    for (int i = 0; i < 2000; ++i)
        line.write(L"line\n");
    EXPECT_LE(line.history(100000).size(), 500u);
}

} // namespace
