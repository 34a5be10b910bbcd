#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "AcPropertyReader.h"
#include "db/arc.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/rasterimage.h"
#include "db/region.h"
#include "db/text.h"
#include "dbx_test_support.h"
#include "win/host_exports.h"

namespace {

using DbxReaders = DbxTest;

// What a reader's text form gives, released as its contract says.
std::wstring asText(const AcPropertyReader& reader, const AcDbEntity* entity) {
    wchar_t* text = reader.readPropertyAsString(entity);
    if (text == nullptr)
        return L"<null>";
    std::wstring copy(text);
    delete[] text;
    return copy;
}

struct Point {
    double x, y, z;
};

// The three coordinate readers on an entity opened for read.
Point coordinates(AcDbObjectId id) {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    EXPECT_EQ(entity.status(), Acad::eOk);
    return {AcXCoordReader().readPropertyAsNumber(entity.get()),
            AcYCoordReader().readPropertyAsNumber(entity.get()),
            AcZCoordReader().readPropertyAsNumber(entity.get())};
}

#define EXPECT_POINT(actual, X, Y, Z)                                                              \
    do {                                                                                           \
        const Point p = (actual);                                                                  \
        EXPECT_DOUBLE_EQ(p.x, X);                                                                  \
        EXPECT_DOUBLE_EQ(p.y, Y);                                                                  \
        EXPECT_DOUBLE_EQ(p.z, Z);                                                                  \
    } while (false)

double numberOf(const AcPropertyReader& reader, AcDbObjectId id) {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    EXPECT_EQ(entity.status(), Acad::eOk);
    return reader.readPropertyAsNumber(entity.get());
}

AcDbPolyline* rectangle(double width, double height, bool closed) {
    auto* outline = new AcDbPolyline;
    outline->addVertexAt(0, AcGePoint2d(0.0, 0.0));
    outline->addVertexAt(1, AcGePoint2d(width, 0.0));
    outline->addVertexAt(2, AcGePoint2d(width, height));
    outline->addVertexAt(3, AcGePoint2d(0.0, height));
    outline->setClosed(closed);
    return outline;
}

AcDbText* text(const AcGePoint3d& position, AcDb::TextHorzMode horz, AcDb::TextVertMode vert,
               const AcGePoint3d& alignment) {
    auto* label = new AcDbText(position, L"label", AcDbObjectId(), 1.0);
    label->setHorizontalMode(horz);
    label->setVerticalMode(vert);
    label->setAlignmentPoint(alignment);
    return label;
}

TEST_F(DbxReaders, AreaOfClosedCurvesAndRegions) {
    const AcDbObjectId outline = append(rectangle(4.0, 3.0, true));
    EXPECT_DOUBLE_EQ(numberOf(AcAreaReader(), outline), 12.0);

    std::unique_ptr<AcDbPolyline> loop(rectangle(5.0, 2.0, true));
    AcDbVoidPtrArray curves;
    curves.append(loop.get());
    AcDbVoidPtrArray regions;
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    ASSERT_EQ(regions.length(), 1);
    const AcDbObjectId region = append(static_cast<AcDbRegion*>(regions[0]));
    EXPECT_DOUBLE_EQ(numberOf(AcAreaReader(), region), 10.0);

    const AcDbObjectId circle =
        append(new AcDbCircle(AcGePoint3d(1.0, 1.0, 0.0), AcGeVector3d::kZAxis, 2.0));
    EXPECT_NEAR(numberOf(AcAreaReader(), circle), 4.0 * std::numbers::pi, 1e-9);

    const AcDbObjectId line = append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    EXPECT_EQ(numberOf(AcAreaReader(), line), 0.0);
    const AcDbObjectId label = append(new AcDbText(AcGePoint3d(1, 2, 0), L"12"));
    EXPECT_EQ(numberOf(AcAreaReader(), label), 0.0);
}

TEST_F(DbxReaders, LengthOfCurves) {
    const AcDbObjectId line = append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
    EXPECT_DOUBLE_EQ(numberOf(AcLengthReader(), line), 10.0);
    const AcDbObjectId arc =
        append(new AcDbArc(AcGePoint3d(5, 5, 0), 2.0, 0.0, std::numbers::pi / 2.0));
    EXPECT_NEAR(numberOf(AcLengthReader(), arc), std::numbers::pi, 1e-9);
    const AcDbObjectId outline = append(rectangle(4.0, 3.0, true));
    EXPECT_NEAR(numberOf(AcLengthReader(), outline), 14.0, 1e-9);

    const AcDbObjectId label = append(new AcDbText(AcGePoint3d(1, 2, 0), L"12"));
    EXPECT_EQ(numberOf(AcLengthReader(), label), 0.0);
}

TEST_F(DbxReaders, CoordinatesOfArcsCirclesBlocksAndImages) {
    EXPECT_POINT(coordinates(append(new AcDbArc(AcGePoint3d(1, 2, 3), 4.0, 0.0, 1.0))), 1, 2, 3);
    EXPECT_POINT(
        coordinates(append(new AcDbCircle(AcGePoint3d(-4, 5, 6), AcGeVector3d::kZAxis, 1.0))), -4,
        5, 6);

    const AcDbObjectId block = addBlock(L"MARK");
    EXPECT_POINT(coordinates(append(new AcDbBlockReference(AcGePoint3d(7, 8, 9), block))), 7, 8, 9);

    auto* mtext = new AcDbMText;
    mtext->setLocation(AcGePoint3d(11, 12, 13));
    mtext->setContents(L"note");
    EXPECT_POINT(coordinates(append(mtext)), 11, 12, 13);

    auto* image = new AcDbRasterImage;
    ASSERT_TRUE(image->setOrientation(AcGePoint3d(14, 15, 16), AcGeVector3d(2, 0, 0),
                                      AcGeVector3d(0, 1, 0)));
    EXPECT_POINT(coordinates(append(image)), 14, 15, 16);

    EXPECT_POINT(coordinates(append(new AcDbLine(AcGePoint3d(1, 1, 1), AcGePoint3d(2, 2, 2)))), 0,
                 0, 0);
}

TEST_F(DbxReaders, CoordinatesOfTextFollowItsJustification) {
    const AcGePoint3d insertion(1, 2, 0);
    const AcGePoint3d aligned(20, 30, 0);

    // On the baseline, left, aligned and fit text answer the insertion point.
    for (AcDb::TextHorzMode horz : {AcDb::kTextLeft, AcDb::kTextAlign, AcDb::kTextFit}) {
        SCOPED_TRACE(static_cast<int>(horz));
        const AcDbObjectId id = append(text(insertion, horz, AcDb::kTextBase, aligned));
        EXPECT_POINT(coordinates(id), 1, 2, 0);
    }
    // Every other justification answers the alignment point.
    for (AcDb::TextHorzMode horz : {AcDb::kTextCenter, AcDb::kTextRight, AcDb::kTextMid}) {
        SCOPED_TRACE(static_cast<int>(horz));
        const AcDbObjectId id = append(text(insertion, horz, AcDb::kTextBase, aligned));
        EXPECT_POINT(coordinates(id), 20, 30, 0);
    }
    for (AcDb::TextVertMode vert : {AcDb::kTextBottom, AcDb::kTextVertMid, AcDb::kTextTop}) {
        SCOPED_TRACE(static_cast<int>(vert));
        const AcDbObjectId id = append(text(insertion, AcDb::kTextLeft, vert, aligned));
        EXPECT_POINT(coordinates(id), 20, 30, 0);
    }

    const AcDbObjectId block = addBlock(L"TAGGED");
    const AcDbObjectId reference = append(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block));
    AcDbObjectId attribute;
    {
        Opened<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        auto* value = new AcDbAttribute(AcGePoint3d(3, 4, 5), L"42", L"NUMBER");
        ASSERT_EQ(ref->appendAttribute(attribute, value), Acad::eOk);
        value->close();
    }
    EXPECT_POINT(coordinates(attribute), 3, 4, 5);
}

TEST_F(DbxReaders, NothingIsReadFromANullOrUnopenedEntity) {
    const AcDbObjectId circleId =
        append(new AcDbCircle(AcGePoint3d(12.5, 1, 0), AcGeVector3d::kZAxis, 1.0));
    const AcDbObjectId lineId = append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)));
    const AcDbObjectId textId = append(new AcDbText(AcGePoint3d(0, 0, 0), L"kept"));
    const AcDbEntity* circle = nullptr;
    const AcDbEntity* line = nullptr;
    const AcDbEntity* label = nullptr;
    {
        Opened<AcDbEntity> c(circleId, AcDb::kForRead);
        Opened<AcDbEntity> l(lineId, AcDb::kForRead);
        Opened<AcDbEntity> t(textId, AcDb::kForRead);
        circle = c.get();
        line = l.get();
        label = t.get();
    }
    // Closed again: reading them now would be a fault of the host's rules.
    EXPECT_EQ(AcXCoordReader().readPropertyAsNumber(circle), 0.0);
    EXPECT_EQ(AcLengthReader().readPropertyAsNumber(line), 0.0);
    EXPECT_EQ(AcAreaReader().readPropertyAsNumber(line), 0.0);
    EXPECT_EQ(asText(AcXCoordReader(), circle), L"<null>");
    EXPECT_EQ(asText(AcTextReader(), label), L"<null>");

    for (const AcPropertyReader* reader : std::initializer_list<const AcPropertyReader*>{
             new AcPropertyReader, new AcAreaReader, new AcLengthReader, new AcTextReader,
             new AcXCoordReader, new AcYCoordReader, new AcZCoordReader}) {
        SCOPED_TRACE(reader->displayName());
        EXPECT_EQ(reader->readPropertyAsNumber(nullptr), 0.0);
        EXPECT_EQ(asText(*reader, nullptr), L"<null>");
        delete reader;
    }
}

TEST_F(DbxReaders, TextReaderReadsSingleLineTextAndAttributesOnly) {
    const AcDbObjectId label = append(new AcDbText(AcGePoint3d(0, 0, 0), L"Room 12"));
    {
        Opened<AcDbEntity> entity(label, AcDb::kForRead);
        EXPECT_EQ(asText(AcTextReader(), entity.get()), L"Room 12");
        EXPECT_EQ(AcTextReader().readPropertyAsNumber(entity.get()), 0.0);
    }

    const AcDbObjectId block = addBlock(L"ROOM");
    const AcDbObjectId reference = append(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block));
    AcDbObjectId attribute;
    {
        Opened<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        auto* value = new AcDbAttribute(AcGePoint3d(0, 0, 0), L"Kitchen", L"NAME");
        ASSERT_EQ(ref->appendAttribute(attribute, value), Acad::eOk);
        value->close();
    }
    {
        Opened<AcDbEntity> entity(attribute, AcDb::kForRead);
        EXPECT_EQ(asText(AcTextReader(), entity.get()), L"Kitchen");
    }

    auto* note = new AcDbMText;
    note->setContents(L"not single-line");
    const AcDbObjectId mtext = append(note);
    {
        Opened<AcDbEntity> entity(mtext, AcDb::kForRead);
        EXPECT_EQ(asText(AcTextReader(), entity.get()), L"<null>");
    }
}

TEST_F(DbxReaders, TextFormUsesTheDrawingsUnitsThroughTheHost) {
    const AcDbObjectId circle =
        append(new AcDbCircle(AcGePoint3d(12.5, 0.25, 0), AcGeVector3d::kZAxis, 1.0));
    const AcDbObjectId line = append(new AcDbLine(AcGePoint3d(1, 1, 1), AcGePoint3d(2, 2, 2)));
    ASSERT_EQ(db->setLunits(2), Acad::eOk);
    ASSERT_EQ(db->setLuprec(4), Acad::eOk);
    Opened<AcDbEntity> entity(circle, AcDb::kForRead);
    EXPECT_EQ(asText(AcXCoordReader(), entity.get()), L"12.5000");
    ASSERT_EQ(db->setLuprec(2), Acad::eOk);
    EXPECT_EQ(asText(AcXCoordReader(), entity.get()), L"12.50");
    EXPECT_EQ(asText(AcLengthReader(), entity.get()), L"6.28");
    // An entity the reader has no rule for still gives zero in the drawing's units.
    Opened<AcDbEntity> other(line, AcDb::kForRead);
    EXPECT_EQ(asText(AcYCoordReader(), other.get()), L"0.00");
}

TEST_F(DbxReaders, TextFormFallsBackToPlainNumbersWithoutTheHostFunction) {
    const AcDbObjectId circle =
        append(new AcDbCircle(AcGePoint3d(12.5, 1234567.0, 0), AcGeVector3d::kZAxis, 1.0));
    Opened<AcDbEntity> entity(circle, AcDb::kForRead);
    const FARPROC rtos = svHostExportRemove("acdbRToS");
    ASSERT_NE(rtos, nullptr);
    EXPECT_EQ(asText(AcXCoordReader(), entity.get()), L"12.5");
    EXPECT_EQ(asText(AcYCoordReader(), entity.get()), L"1.23457e+06");
    EXPECT_EQ(asText(AcZCoordReader(), entity.get()), L"0");
    // Looked up on every call, so a host that offers it again is used at once.
    svHostExportAdd("acdbRToS", rtos);
    EXPECT_EQ(asText(AcXCoordReader(), entity.get()), L"12.5000");
}

} // namespace
