#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "crt/format.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/database.h"
#include "db/line.h"
#include "db/polyline.h"
#include "db/region.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "ed/getinput.h"
#include "ed/input.h"
#include "ed/selection.h"
#include "ed/spaces.h"
#include "support/output_capture.h"

namespace {

class Picking : public testing::Test {
protected:
    void SetUp() override {
        acdbHostApplicationServices()->setWorkingDatabase(&m_db);
        m_left =
            append(m_db.modelSpaceId(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)));
        m_circle = append(m_db.modelSpaceId(),
                          new AcDbCircle(AcGePoint3d(30, 0, 0), AcGeVector3d::kZAxis, 5));
        m_far = append(m_db.modelSpaceId(),
                       new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(110, 100, 0)));
    }
    void TearDown() override {
        svSetInputSource(nullptr);
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }

    AcDbObjectId append(AcDbObjectId spaceId, AcDbEntity* entity) {
        AcDbBlockTableRecord* space = nullptr;
        EXPECT_EQ(acdbOpenObject(space, spaceId, AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
        entity->close();
        space->close();
        return id;
    }

    void answer(std::vector<std::wstring> lines) {
        m_input = std::make_unique<SvScriptedInput>(std::move(lines));
        svSetInputSource(m_input.get());
    }

    AcDbObjectId picked(int expectedStatus = RTNORM) {
        ads_name name;
        ads_point point;
        EXPECT_EQ(acedEntSel(L"\nPick: ", name, point), expectedStatus);
        AcDbObjectId id;
        if (expectedStatus == RTNORM) {
            EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
        }
        return id;
    }

    std::wstring handleOf(AcDbObjectId id) {
        wchar_t hex[32];
        id.handle().getIntoAsciiBuffer(hex, 32);
        return L"#" + std::wstring(hex);
    }

    AcDbDatabase m_db;
    AcDbObjectId m_left, m_circle, m_far;
    std::unique_ptr<SvScriptedInput> m_input;
    OutputCapture m_capture;
};

TEST_F(Picking, PointsTakeTheNearestEntityWithinTheAperture) {
    answer({L"5,1", L"35,0.5", L"50,50", L"20,0"});
    EXPECT_EQ(picked(), m_left);
    EXPECT_EQ(picked(), m_circle);              // near its rim
    picked(RTERROR);                            // nothing there
    EXPECT_EQ(picked(RTERROR), AcDbObjectId()); // inside the circle, far from its rim
    EXPECT_NE(m_capture.text().find(L"Nothing found"), std::wstring::npos);
}

TEST_F(Picking, HandlesKeywordsEmptyAnswersAndCancel) {
    answer({handleOf(m_far), L"#FFFFFF", L"self", L"", L"^C"});
    EXPECT_EQ(picked(), m_far);
    picked(RTERROR);
    acedInitGet(RSG_NONULL, L"Model Paper Self");
    picked(RTKWORD);
    wchar_t keyword[SV_MAX_INPUT];
    acedGetInput(keyword);
    EXPECT_STREQ(keyword, L"Self");
    picked(RTNONE);
    picked(RTCAN);
}

TEST_F(Picking, StaleNamesFailTheLookUp) {
    ads_name forged = {12345, 0};
    AcDbObjectId id;
    EXPECT_NE(acdbGetObjectId(id, forged), Acad::eOk);
    ads_name name;
    ASSERT_EQ(acdbGetAdsName(name, m_left), Acad::eOk);
    EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
    EXPECT_EQ(id, m_left);
}

TEST_F(Picking, WindowCrossingRemoveAndAll) {
    answer({L"w", L"-1,-1", L"11,1", L"c", L"25,-1", L"26,1", L"r", L"5,0", L""});
    ads_name set;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    Adesk::Int32 length = 0;
    ASSERT_EQ(acedSSLength(set, &length), RTNORM);
    ASSERT_EQ(length, 1); // the line left the set again
    ads_name first;
    ASSERT_EQ(acedSSName(set, 0, first), RTNORM);
    AcDbObjectId id;
    ASSERT_EQ(acdbGetObjectId(id, first), Acad::eOk);
    EXPECT_EQ(id, m_circle);
    EXPECT_EQ(acedSSName(set, 1, first), RTERROR);
    EXPECT_EQ(acedSSFree(set), RTNORM);
    EXPECT_EQ(acedSSFree(set), RTERROR);

    answer({L"all", L""});
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    acedSSLength(set, &length);
    EXPECT_EQ(length, 3);
    acedSSFree(set);

    answer({L"w", L"200,200", L"300,300", L""});
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTERROR);
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, set), RTERROR);
}

std::vector<AcDbObjectId> membersOf(const ads_name set) {
    std::vector<AcDbObjectId> ids;
    Adesk::Int32 length = 0;
    acedSSLength(set, &length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        AcDbObjectId id;
        acedSSName(set, i, name);
        acdbGetObjectId(id, name);
        ids.push_back(id);
    }
    return ids;
}

// The set keeps the order of choosing: one removed and chosen again comes last, and once.
TEST_F(Picking, AnObjectRemovedAndChosenAgainComesLastAndOnce) {
    answer({L"all", L"r", L"5,0", L"a", L"5,0", L"5,0", L"all", L""});
    ads_name set;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    const std::vector<AcDbObjectId> ids = membersOf(set);
    acedSSFree(set);
    EXPECT_EQ(ids, (std::vector<AcDbObjectId>{m_circle, m_far, m_left}));
}

TEST_F(Picking, LastPreviousAndAbbreviatedOptions) {
    answer({L"5,0", L"35,0.5", L""});
    ads_name set;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    acedSSFree(set);
    answer({L"L", L"p", L"Remove", L"5,0", L"a", L"WINDOW", L"99,99", L"111,101", L""});
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    const std::vector<AcDbObjectId> ids = membersOf(set);
    acedSSFree(set);
    // Last is the newest entity; Previous adds the first selection, which Remove thins out.
    EXPECT_EQ(ids, (std::vector<AcDbObjectId>{m_far, m_circle}));

    // Previous after an erase leaves out what is gone.
    {
        AcDbEntity* circle = nullptr;
        ASSERT_EQ(acdbOpenAcDbEntity(circle, m_circle, AcDb::kForWrite), Acad::eOk);
        circle->erase();
        circle->close();
    }
    answer({L"P", L""});
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(membersOf(set).size(), 1u);
    acedSSFree(set);
}

TEST_F(Picking, AHandleOfNoEntityIsNamedInTheRefusal) {
    answer({L"#FFFFFF", L""});
    ads_name set;
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTERROR);
    EXPECT_NE(m_capture.text().find(L"No object has the handle #FFFFFF."), std::wstring::npos);
    EXPECT_EQ(m_capture.text().find(L"0 found"), std::wstring::npos) << "said instead";

    // A person is asked again.
    m_input = std::make_unique<SvScriptedInput>(
        std::vector<std::wstring>{L"#FFFFFE", handleOf(m_far), L""}, true);
    svSetInputSource(m_input.get());
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    acedSSFree(set);
    EXPECT_NE(m_capture.text().find(L"#FFFFFE."), std::wstring::npos);
}

TEST_F(Picking, PaperSpaceAndViewports) {
    EXPECT_EQ(acedMspace(&m_db), Acad::eNotApplicable); // TILEMODE 1
    m_db.setTilemode(false);
    EXPECT_EQ(svPickSpaceId(&m_db), m_db.paperSpaceId());
    EXPECT_EQ(acedMspace(&m_db), Acad::eNotApplicable); // no viewport yet

    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint(AcGePoint3d(50, 50, 0));
    viewport->setWidth(80);
    viewport->setHeight(60);
    const AcDbObjectId viewportId = append(m_db.paperSpaceId(), viewport);
    answer({L"50,20"});
    EXPECT_EQ(picked(), viewportId); // its border, on paper
    EXPECT_EQ(acedMspace(&m_db), Acad::eOk);
    EXPECT_EQ(svPickSpaceId(&m_db), m_db.modelSpaceId());
    EXPECT_EQ(acedPspace(&m_db), Acad::eOk);
    EXPECT_EQ(svPickSpaceId(&m_db), m_db.paperSpaceId());

    AcDbViewport* open = nullptr;
    ASSERT_EQ(acdbOpenObject(open, viewportId, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(acedSetCurrentVPort(open), Acad::eOk);
    open->close();
    EXPECT_EQ(svPickSpaceId(&m_db), m_db.modelSpaceId());
}

} // namespace

// Picking measures what each entity draws: a block by its own lines, a filled outline and a
// text by their insides.
TEST_F(Picking, EachKindIsPickedWhereItDraws) {
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(m_db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbBlockTableRecord;
    record->setName(L"FRAME");
    AcDbObjectId block;
    ASSERT_EQ(table->add(block, record), Acad::eOk);
    record->close();
    table->close();
    append(block, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(40, 0, 0)));
    append(block, new AcDbLine(AcGePoint3d(0, 40, 0), AcGePoint3d(40, 40, 0)));
    const AcDbObjectId frame =
        append(m_db.modelSpaceId(), new AcDbBlockReference(AcGePoint3d(200, 0, 0), block));
    const AcDbObjectId label =
        append(m_db.modelSpaceId(), new AcDbText(AcGePoint3d(300, 0, 0), L"A long label", {}, 2.0));
    auto* square = new AcDbPolyline;
    for (const AcGePoint2d& p :
         {AcGePoint2d(400, 0), AcGePoint2d(420, 0), AcGePoint2d(420, 20), AcGePoint2d(400, 20)})
        square->addVertexAt(square->numVerts(), p);
    square->setClosed(true);
    AcDbVoidPtrArray curves, regions;
    curves.append(square);
    ASSERT_EQ(AcDbRegion::createFromCurves(curves, regions), Acad::eOk);
    delete square;
    const AcDbObjectId region = append(m_db.modelSpaceId(), static_cast<AcDbEntity*>(regions[0]));

    answer({L"220,1", L"220,20", L"320,1", L"410,10"});
    EXPECT_EQ(picked(), frame);  // on the block's lower line, where it is inserted
    picked(RTERROR);             // inside the block's box, far from its lines
    EXPECT_EQ(picked(), label);  // within the text, between its letters' baseline and top
    EXPECT_EQ(picked(), region); // inside the filled region
}
