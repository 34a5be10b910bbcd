// A user's drawing with live labels, from link creation through changes, a self-link's delayed
// update, saving and reopening, and an aborted command.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "AcPropertyLinkStyleMgr.h"
#include "ap/docman.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/transaction.h"
#include "db/undo.h"
#include "dbx/link_fixture.h"
#include "rx/abort.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"

namespace {

using namespace linktest;

[[noreturn]] void failOnAbort(const wchar_t* message) {
    const std::wstring text(message);
    throw std::runtime_error(std::string(text.begin(), text.end()));
}

class LiveLabel : public testing::Test {
protected:
    void SetUp() override {
        acrxSetAbortHandler(&failOnAbort);
        ASSERT_TRUE(acrxLoadModule((binDirW() + L"/SentavellUi17.arx").c_str(), false));
        mgr = svFindStyleMgr();
        ASSERT_NE(mgr, nullptr);
        newDrawing();
    }
    void TearDown() override {
        acDocManager->closeAll();
        acrxSetAbortHandler(nullptr);
    }

    void newDrawing() {
        AcApDocument* doc = nullptr;
        ASSERT_EQ(acDocManager->newDocument(doc), Acad::eOk);
        db = doc->database();
        db->setLuprec(1);
        area = addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        copy = addStyle(L"Copy", newStyle(new AcTextReader, new AcTextModifier));
    }

    // Through the service, as the style dialogs store them.
    AcDbObjectId addStyle(const wchar_t* name, AcPropertyLinkStyle* style) {
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForWrite);
        EXPECT_NE(styles, nullptr);
        AcDbObjectId id;
        EXPECT_EQ(styles->setAt(name, style, id), Acad::eOk);
        style->close();
        styles->close();
        return id;
    }

    // What the editor reactor does once a command has finished.
    void commandEnded() {
        AcDbTransactionManager* transactions = acDocManager->curDocument()->transactionManager();
        transactions->startTransaction();
        mgr->performDelayedModifications();
        transactions->endTransaction();
    }

    AcPropertyLinkStyleMgrInterface* mgr = nullptr;
    AcDbDatabase* db = nullptr;
    AcDbObjectId area, copy;
    OutputCapture output;
};

TEST_F(LiveLabel, AreaLabelFollowsItsPolyline) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.5, 5.0));
    const AcDbObjectId label = addText(db, L"?");
    addLink(room, area, label);
    EXPECT_EQ(textOf(label), L"12.5 m2");
    moveVertex(room, 2, 2.5, 7.0);
    EXPECT_EQ(textOf(label), L"15.0 m2");
}

TEST_F(LiveLabel, AChainUpdatesEveryLabelAndACycleEnds) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 2.0));
    const AcDbObjectId first = addText(db, L"?"), second = addText(db, L"?");
    addLink(room, area, first);
    addLink(first, copy, second);
    moveVertex(room, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(first), L"6.0 m2");
    EXPECT_EQ(textOf(second), L"6.0 m2");

    // Each rewrites the other; the host refuses to reopen the one still notifying.
    const AcDbObjectId ping = addText(db, L"ping"), pong = addText(db, L"pong");
    addLink(ping, copy, pong);
    addLink(pong, copy, ping);
    setText(ping, L"ball");
    EXPECT_EQ(textOf(ping), L"ball");
    EXPECT_EQ(textOf(pong), L"ball");
}

TEST_F(LiveLabel, AChainOfAHundredThousandLinksUpdatesToItsEnd) {
    constexpr int kLength = 100000;
    const AcDbObjectId first = addText(db, L"start");
    AcDbObjectId last = first;
    for (int i = 0; i < kLength; ++i) {
        const AcDbObjectId next = addText(db, L"?");
        addLink(last, copy, next);
        last = next;
    }
    EXPECT_EQ(textOf(last), L"start");
    setText(first, L"end");
    EXPECT_EQ(textOf(last), L"end");
}

// Every link of the chain shares a style whose macro would grow without end: each update stops at
// the macro's bound, so the whole chain takes a moment.
TEST_F(LiveLabel, AThousandLinksWithAHugeMacroUpdateWellWithinASecond) {
    std::wstring manyPlaceholders;
    for (int i = 0; i < 10000; ++i)
        manyPlaceholders += L"%PROPERTY";
    const AcDbObjectId heavy = addStyle(
        L"Heavy", newStyle(new AcTextReader, new AcTextModifier, manyPlaceholders.c_str()));
    const AcDbObjectId first = addText(db, L"start");
    AcDbObjectId last = first;
    for (int i = 0; i < 1000; ++i) {
        const AcDbObjectId next = addText(db, L"?");
        addLink(last, heavy, next);
        last = next;
    }
    const auto started = std::chrono::steady_clock::now();
    setText(first, std::wstring(100000, L'x').c_str());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(textOf(last), L"UNKNOWN PROPERTY VALUE");
}

AcDbObjectId insertRoomBlock(AcDbDatabase* db, const AcGePoint3d& at) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* block = new AcDbBlockTableRecord;
    block->setName(L"ROOM");
    AcDbObjectId blockId;
    EXPECT_EQ(table->add(blockId, block), Acad::eOk);
    auto* definition = new AcDbAttributeDefinition(AcGePoint3d(0.0, 0.0, 0.0), L"-", L"X", L"X?");
    EXPECT_EQ(block->appendAcDbEntity(definition), Acad::eOk);
    definition->close();
    block->close();
    table->close();
    AcDbObjectId reference;
    EXPECT_EQ(svInsertBlockReference(reference, db->modelSpaceId(), blockId, at), Acad::eOk);
    return reference;
}

std::wstring attributeOf(AcDbObjectId reference) {
    AcDbObject* opened = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(opened, reference, AcDb::kForRead), Acad::eOk);
    AcDbObjectIterator* it = AcDbBlockReference::cast(opened)->attributeIterator();
    it->start();
    const AcDbObjectId attribute = it->objectId();
    delete it;
    opened->close();
    return textOf(attribute);
}

void moveTo(AcDbObjectId reference, const AcGePoint3d& at) {
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, reference, AcDb::kForWrite), Acad::eOk);
    AcDbBlockReference::cast(opened)->setPosition(at);
    opened->close();
}

TEST_F(LiveLabel, ABlocksSelfLinkIsQueuedAndWrittenByThePass) {
    auto* modifier = new AcBlockModifier;
    modifier->setAttribName(L"x");
    const AcDbObjectId xStyle = addStyle(L"X", newStyle(new AcXCoordReader, modifier));
    const AcDbObjectId reference = insertRoomBlock(db, AcGePoint3d(10.0, 20.0, 0.0));
    const AcDbObjectId link = addLink(reference, xStyle, AcDbObjectId());
    EXPECT_EQ(attributeOf(reference), L"-");
    ASSERT_EQ(AcPropertyLinkStyleMgr::pendingModifications().length(), 1);
    EXPECT_EQ(AcPropertyLinkStyleMgr::pendingModifications()[0], link);
    commandEnded();
    EXPECT_EQ(attributeOf(reference), L"10.0");

    moveTo(reference, AcGePoint3d(32.5, 20.0, 0.0));
    moveTo(reference, AcGePoint3d(35.0, 20.0, 0.0));
    EXPECT_EQ(attributeOf(reference), L"10.0");
    EXPECT_EQ(AcPropertyLinkStyleMgr::pendingModifications().length(), 1);
    commandEnded();
    EXPECT_EQ(attributeOf(reference), L"35.0");
    EXPECT_EQ(AcPropertyLinkStyleMgr::pendingModifications().length(), 0);
}

TEST_F(LiveLabel, LinksStillFireAfterSaveCloseAndReopen) {
    auto* modifier = new AcBlockModifier;
    modifier->setAttribName(L"X");
    const AcDbObjectId xStyle = addStyle(L"X", newStyle(new AcXCoordReader, modifier));
    const AcDbObjectId reference = insertRoomBlock(db, AcGePoint3d(1.0, 2.0, 0.0));
    addLink(reference, xStyle, AcDbObjectId());
    commandEnded();
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 2.0));
    const AcDbObjectId label = addText(db, L"?");
    addLink(room, area, label);
    const AcDbHandle roomHandle = room.handle(), labelHandle = label.handle();
    const AcDbHandle referenceHandle = reference.handle();

    const std::wstring path = binDirW() + L"/e2e_live_label.dwg";
    ASSERT_EQ(db->saveAs(path.c_str()), Acad::eOk);
    ASSERT_EQ(acDocManager->closeDocument(acDocManager->curDocument()), Acad::eOk);
    AcApDocument* reopened = nullptr;
    ASSERT_EQ(acDocManager->openDocument(path.c_str(), reopened), Acad::eOk);
    db = reopened->database();

    AcDbObjectId room2, label2, reference2;
    ASSERT_EQ(db->getAcDbObjectId(room2, false, roomHandle), Acad::eOk);
    ASSERT_EQ(db->getAcDbObjectId(label2, false, labelHandle), Acad::eOk);
    ASSERT_EQ(db->getAcDbObjectId(reference2, false, referenceHandle), Acad::eOk);
    EXPECT_EQ(textOf(label2), L"4.0 m2");
    moveVertex(room2, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(label2), L"6.0 m2");
    EXPECT_EQ(attributeOf(reference2), L"1.0");
    moveTo(reference2, AcGePoint3d(7.0, 2.0, 0.0));
    commandEnded();
    EXPECT_EQ(attributeOf(reference2), L"7.0");
    CString name;
    AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForRead);
    ASSERT_NE(styles, nullptr);
    AcDbObjectId areaStyle;
    EXPECT_EQ(styles->getAt(L"Area", areaStyle), Acad::eOk);
    styles->close();
    mgr->styleName(areaStyle, name);
    EXPECT_STREQ(name, L"Area");
}

TEST_F(LiveLabel, AbortingTheCommandRestoresSourceAndLabel) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 2.0));
    const AcDbObjectId label = addText(db, L"?");
    addLink(room, area, label);
    AcDbTransactionManager* transactions = acDocManager->curDocument()->transactionManager();
    transactions->startTransaction();
    moveVertex(room, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(label), L"6.0 m2");
    ASSERT_EQ(transactions->abortTransaction(), Acad::eOk);
    EXPECT_EQ(textOf(label), L"4.0 m2");
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, room, AcDb::kForRead), Acad::eOk);
    AcGePoint2d corner;
    AcDbPolyline::cast(opened)->getPointAt(2, corner);
    opened->close();
    EXPECT_EQ(corner, AcGePoint2d(2.0, 2.0));
    moveVertex(room, 2, 2.0, 3.0);
    EXPECT_EQ(textOf(label), L"5.0 m2");
}

// An undone link is erased, not taken back: REDO brings the same object, and its ids, back.
TEST_F(LiveLabel, AnUndoneLinkIsSilentAndRedoneItIsLiveAgain) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 2.0));
    const AcDbObjectId label = addText(db, L"?");
    SvDbCommandScope scope;
    ASSERT_EQ(svDbBeginCommandScope(db, scope), Acad::eOk);
    addLink(room, area, label);
    svDbEndCommandScope(scope, true);
    ASSERT_EQ(textOf(label), L"4.0 m2");

    int steps = 0;
    ASSERT_EQ(svDbUndo(db, 1, steps), Acad::eOk);
    EXPECT_EQ(textOf(label), L"?");
    moveVertex(room, 2, 2.0, 3.0);
    EXPECT_EQ(textOf(label), L"?");
    moveVertex(room, 2, 2.0, 2.0);
    ASSERT_EQ(svDbRedo(db, steps), Acad::eOk);
    EXPECT_EQ(textOf(label), L"4.0 m2");
    moveVertex(room, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(label), L"6.0 m2");
}

} // namespace
