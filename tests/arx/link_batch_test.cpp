// "sv_linkbatch": sources paired with the labels inside or beside them, in the current style.
#include "SentavellEditorReactor.h"
#include "arx/arx_fixture.h"
#include "db/circle.h"
#include "db/line.h"
#include "ed/commands.h"
#include "ge/matrix3d.h"

namespace {

using namespace arxtest;
using namespace linktest;

class LinkBatch : public ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        area = addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        length = addStyle(L"Length", newStyle(new AcLengthReader, new AcTextModifier));
    }

    AcDbObjectId textAt(double x, double y) {
        return linktest::append(db, new AcDbText(AcGePoint3d(x, y, 0), L"?", AcDbObjectId(), 0.3));
    }
    AcDbObjectId roomAt(double x, double y, double width, double height) {
        AcDbPolyline* outline = rectangle(width, height);
        outline->transformBy(AcGeMatrix3d::translation(AcGeVector3d(x, y, 0)));
        return linktest::append(db, outline);
    }
    AcDbObjectId lineFrom(double x0, double y0, double x1, double y1) {
        return linktest::append(db, new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)));
    }

    // The distance answer, then the sources by handle.
    std::wstring batch(AcDbObjectId style, const std::wstring& distance,
                       std::initializer_list<AcDbObjectId> sources) {
        svCurDocStyle().current() = style;
        std::vector<std::wstring> lines{distance};
        for (AcDbObjectId id : sources)
            lines.push_back(handleOf(id));
        lines.push_back(L"");
        answer(lines);
        output.clear();
        EXPECT_TRUE(svRunCommand(L"sv_linkbatch"));
        return output.text();
    }

    AcDbObjectId area, length;
};

TEST_F(LinkBatch, AnOutlineTakesTheLabelNearestItsMiddleAndAnEmptyOneIsLeft) {
    const AcDbObjectId room = roomAt(0, 0, 4, 4);
    const AcDbObjectId corner = textAt(0.5, 0.5), middle = textAt(2.2, 1.8);
    const AcDbObjectId outside = textAt(5, 2);
    const AcDbObjectId empty = roomAt(10, 0, 2, 2);
    const std::wstring text = batch(area, L"", {room, empty});
    EXPECT_EQ(textOf(middle), L"16.0 m2");
    EXPECT_EQ(textOf(corner), L"?");
    EXPECT_EQ(textOf(outside), L"?") << "beside an outline is not inside it";
    EXPECT_NE(text.find(L"\nLinked: " + handleOf(room) + L" LWPOLYLINE -> " + handleOf(middle) +
                        L" TEXT"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"\nLeft without a label: " + handleOf(empty) + L" LWPOLYLINE"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"\nLinks made: 1. Sources left without a label: 1."), std::wstring::npos);
}

TEST_F(LinkBatch, ACurveTakesTheNearestTextWithinTheDistanceGivenOnce) {
    const AcDbObjectId wall = lineFrom(0, 0, 10, 0);
    const AcDbObjectId near = textAt(4, -0.6), farther = textAt(6, -0.9);
    const AcDbObjectId twin = lineFrom(0, -1.2, 10, -1.2); // nearest to `farther` after all
    const AcDbObjectId lonely = lineFrom(0, 20, 3, 20);
    textAt(1, 22.5); // 2.5 away: past the distance
    const std::wstring text = batch(length, L"1", {wall, twin, lonely});
    EXPECT_EQ(textOf(near), L"10.0");
    EXPECT_EQ(textOf(farther), L"10.0") << "a text taken once is not offered again";
    EXPECT_NE(text.find(L"\nLeft without a label: " + handleOf(lonely) + L" LINE"),
              std::wstring::npos)
        << text;
    // The distance stays for the next run: 2.5 is too far for it as well.
    EXPECT_NE(batch(length, L"", {lonely}).find(L"Links made: 0."), std::wstring::npos);
    EXPECT_NE(batch(length, L"3", {lonely}).find(L"Links made: 1."), std::wstring::npos);
}

TEST_F(LinkBatch, OnlyLabelsTheStyleCanWriteAreTaken) {
    const AcDbObjectId colour =
        addStyle(L"Colour", newStyle(new AcAreaReader, new AcColorModifier));
    const AcDbObjectId dimmed =
        addStyle(L"Dimension", newStyle(new AcAreaReader, new AcDimensionModifier));
    const AcDbObjectId room = roomAt(0, 0, 4, 4);
    const AcDbObjectId inside = textAt(2, 2);
    EXPECT_NE(batch(dimmed, L"", {room}).find(L"Links made: 0."), std::wstring::npos)
        << "a text is no dimension";
    EXPECT_NE(batch(colour, L"", {room}).find(L"Links made: 1."), std::wstring::npos);
    Opened<AcDbEntity> label(inside, AcDb::kForRead);
    EXPECT_EQ(label->colorIndex(), 16);
}

TEST_F(LinkBatch, ACircleIsAnOutlineToo) {
    const AcDbObjectId disc =
        linktest::append(db, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 2));
    const AcDbObjectId label = textAt(0.3, -0.2);
    batch(area, L"", {disc});
    EXPECT_EQ(textOf(label).substr(0, 4), L"12.6");
}

} // namespace
