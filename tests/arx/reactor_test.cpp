// The editor reactor that works off queued self-link updates, and the per-document store of the
// current link style.
#include "SentavellEditorReactor.h"
#include "arx/arx_fixture.h"
#include "db/transaction.h"
#include "rx/dictionary.h"

namespace {

using namespace arxtest;
using namespace linktest;

void commandLineReady() {
    acedEditor->notify([](AcEditorReactor* r) { r->commandLineReady(nullptr); });
}

int attachedCopies(AcEditorReactor* reactor) {
    int copies = 0;
    acedEditor->notify([&](AcEditorReactor* r) { copies += r == reactor ? 1 : 0; });
    return copies;
}

class EditorReactor : public ArxTest {
protected:
    // A polyline that writes its own area into its colour, queued by its first change.
    AcDbObjectId queuedSelfLink(AcDbObjectId& polyline) {
        const AcDbObjectId style =
            addStyle(L"Colour", newStyle(new AcAreaReader, new AcColorModifier));
        polyline = linktest::append(db, rectangle(2.0, 3.0));
        const AcDbObjectId link = addLink(polyline, style, AcDbObjectId());
        moveVertex(polyline, 2, 2.0, 3.0);
        return link;
    }
    int depth() const { return doc->transactionManager()->numActiveTransactions(); }
};

Adesk::UInt16 colourOf(AcDbObjectId id) {
    AcDbObject* opened = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(opened, id, AcDb::kForRead), Acad::eOk);
    const Adesk::UInt16 colour = AcDbEntity::cast(opened)->colorIndex();
    opened->close();
    return colour;
}

TEST_F(EditorReactor, IsAttachedOnceAndTheSecondCreateGivesTheSame) {
    CSentavellEditorReactor* reactor = CreateEditorReactor();
    EXPECT_EQ(CreateEditorReactor(), reactor);
    EXPECT_EQ(attachedCopies(reactor), 1);
    EXPECT_EQ(reactor->isA(), acrxClassDictionary()->at(L"CSentavellEditorReactor"));
    DestroyEditorReactor();
    EXPECT_EQ(attachedCopies(reactor), 0);
    DestroyEditorReactor(); // nothing left to do
    CSentavellEditorReactor* again = CreateEditorReactor();
    EXPECT_EQ(attachedCopies(again), 1);
}

TEST_F(EditorReactor, WorksOffTheQueueInACommittedTransactionOfItsOwn) {
    AcDbObjectId polyline;
    queuedSelfLink(polyline);
    ASSERT_EQ(mgr->pendingModifications().length(), 1);
    EXPECT_EQ(colourOf(polyline), 256) << "not written from inside its own notification";

    commandLineReady();
    EXPECT_EQ(colourOf(polyline), 6);
    EXPECT_EQ(mgr->pendingModifications().length(), 0);
    EXPECT_EQ(depth(), 0);

    // Within a command's transaction the pass is nested and committed into it.
    doc->transactionManager()->startTransaction();
    moveVertex(polyline, 2, 2.0, 4.0);
    commandLineReady();
    EXPECT_EQ(depth(), 1);
    EXPECT_EQ(colourOf(polyline), 7);
    doc->transactionManager()->endTransaction();
    EXPECT_EQ(colourOf(polyline), 7);
}

TEST_F(EditorReactor, AnEmptyQueueGivesAnEmptyTransaction) {
    const AcDbObjectId text = addText(db, L"kept");
    doc->transactionManager()->startTransaction();
    setText(text, L"changed");
    commandLineReady();
    EXPECT_EQ(depth(), 1) << "its own transaction is ended, the one around it stays";
    doc->transactionManager()->abortTransaction();
    EXPECT_EQ(textOf(text), L"kept");
}

TEST_F(EditorReactor, WithoutAWorkingDatabaseNothingHappens) {
    AcDbObjectId polyline;
    queuedSelfLink(polyline);
    acDocManager->closeAll();
    ASSERT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
    commandLineReady();
    // The closed drawing's link is no longer a valid id; the next queueing drops it.
    EXPECT_EQ(mgr->pendingModifications().length(), 1);
}

TEST_F(ArxTest, EachDrawingKeepsItsOwnCurrentStyleUntilItCloses) {
    auto& store = svCurDocStyle();
    AcApDocument* first = doc;
    EXPECT_TRUE(store.current().isNull()) << "a new drawing has none";
    const AcDbObjectId firstStyle =
        addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier));
    store.current() = firstStyle;

    newDrawing();
    AcApDocument* second = doc;
    EXPECT_TRUE(store.current().isNull());
    const AcDbObjectId secondStyle =
        addStyle(L"Copy", newStyle(new AcTextReader, new AcTextModifier));
    store.current() = secondStyle;

    ASSERT_EQ(acDocManager->setCurDocument(first), Acad::eOk);
    EXPECT_EQ(store.current(), firstStyle);
    ASSERT_EQ(acDocManager->setCurDocument(second), Acad::eOk);
    EXPECT_EQ(store.current(), secondStyle);
    EXPECT_EQ(store.size(), 2u);

    ASSERT_EQ(acDocManager->closeDocument(first), Acad::eOk);
    EXPECT_FALSE(store.has(first));
    EXPECT_TRUE(store.has(second));
    EXPECT_EQ(store[second], secondStyle);
}

TEST_F(ArxTest, ADrawingNeverAskedForItsStyleLeavesNoEntry) {
    auto& store = svCurDocStyle();
    newDrawing();
    ASSERT_EQ(acDocManager->closeDocument(doc), Acad::eOk);
    EXPECT_EQ(store.size(), 0u);
}

} // namespace
