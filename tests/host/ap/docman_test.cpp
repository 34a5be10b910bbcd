#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ap/docman.h"
#include "db/database.h"
#include "ed/lisp.h"
#include "mfc/afx.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"

namespace {

class Recorder : public AcApDocManagerReactor {
public:
    std::vector<std::wstring> events;
    void documentCreated(AcApDocument* d) override { events.push_back(L"created " + title(d)); }
    void documentToBeDestroyed(AcApDocument* d) override {
        events.push_back(L"toBeDestroyed " + title(d));
    }
    void documentBecameCurrent(AcApDocument* d) override {
        events.push_back(L"current " + title(d));
    }
    void documentCreateCanceled(AcApDocument*) override { events.push_back(L"canceled"); }

private:
    static std::wstring title(AcApDocument* d) { return d->docTitle(); }
};

class Documents : public testing::Test {
protected:
    void SetUp() override { acDocManager->addReactor(&m_recorder); }
    void TearDown() override {
        acDocManager->removeReactor(&m_recorder);
        acDocManager->closeAll();
    }
    Recorder m_recorder;
    OutputCapture m_capture;
};

TEST_F(Documents, TwoDrawingsSwitchAndCloseOneAlone) {
    AcApDocument* first = nullptr;
    AcApDocument* second = nullptr;
    ASSERT_EQ(acDocManager->newDocument(first), Acad::eOk);
    ASSERT_EQ(acDocManager->newDocument(second), Acad::eOk);
    EXPECT_EQ(acDocManager->documentCount(), 2);
    EXPECT_EQ(acDocManager->curDocument(), second);
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), second->database());
    EXPECT_NE(first->database(), second->database());
    EXPECT_EQ(second->transactionManager(), second->database()->transactionManager());

    ASSERT_EQ(acDocManager->activateDocument(first), Acad::eOk);
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), first->database());
    m_recorder.events.clear();
    ASSERT_EQ(acDocManager->closeDocument(second), Acad::eOk);
    EXPECT_EQ(m_recorder.events, (std::vector<std::wstring>{L"toBeDestroyed Drawing2.svd"}));
    EXPECT_EQ(acDocManager->curDocument(), first);
    EXPECT_EQ(acDocManager->closeDocument(second), Acad::eInvalidInput);

    ASSERT_EQ(acDocManager->closeDocument(first), Acad::eOk);
    EXPECT_EQ(acDocManager->curDocument(), nullptr);
    EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
}

TEST_F(Documents, ModulesHearOfEveryDrawingAlsoThoseOpenedBeforeThem) {
    AcApDocument* early = nullptr;
    acDocManager->newDocument(early);
    ASSERT_TRUE(acrxLoadModule((binDirW() + L"/probe_a.arx").c_str(), false));
    EXPECT_NE(m_capture.text().find(L"[probe_a] OnInitApp\n[probe_a] OnLoadDwg\n"),
              std::wstring::npos);
    m_capture.clear();
    AcApDocument* later = nullptr;
    acDocManager->newDocument(later);
    EXPECT_EQ(m_capture.text(), L"[probe_a] OnLoadDwg\n");
    m_capture.clear();
    acDocManager->closeDocument(early);
    EXPECT_EQ(m_capture.text(), L"[probe_a] OnUnloadDwg\n");
}

TEST_F(Documents, OpeningAMissingDrawingOpensNothing) {
    AcApDocument* document = reinterpret_cast<AcApDocument*>(1);
    EXPECT_NE(acDocManager->openDocument(L"/no/such/drawing.dwg", document), Acad::eOk);
    EXPECT_EQ(document, nullptr);
    EXPECT_EQ(acDocManager->documentCount(), 0);
    EXPECT_EQ(m_recorder.events, (std::vector<std::wstring>{L"canceled"}));
}

TEST_F(Documents, ResourceHandlesPushAndPopAsAStack) {
    HINSTANCE before = AfxGetResourceHandle();
    HINSTANCE a = reinterpret_cast<HINSTANCE>(0x10);
    HINSTANCE b = reinterpret_cast<HINSTANCE>(0x20);
    acDocManager->pushResourceHandle(a);
    acDocManager->pushResourceHandle(b);
    EXPECT_EQ(AfxGetResourceHandle(), b);
    acDocManager->popResourceHandle();
    EXPECT_EQ(AfxGetResourceHandle(), a);
    acDocManager->popResourceHandle();
    acDocManager->popResourceHandle(); // one pop too many changes nothing
    EXPECT_EQ(AfxGetResourceHandle(), before);
}

} // namespace

namespace {

TEST(DocumentLisp, EachDrawingHasItsOwnFunctions) {
    OutputCapture capture;
    AcApDocument* first = nullptr;
    AcApDocument* second = nullptr;
    acDocManager->newDocument(first);
    ASSERT_TRUE(acrxLoadModule((binDirW() + L"/probe_a.arx").c_str(), false));
    acDocManager->newDocument(second);
    EXPECT_FALSE(svEvaluateLisp(L"(C:probe_a_hello)"));
    acDocManager->activateDocument(first);
    EXPECT_TRUE(svEvaluateLisp(L"(C:probe_a_hello)"));
    acDocManager->closeDocument(first);
    acDocManager->activateDocument(second);
    svEvaluateQueuedExpressions(); // queued for the closed drawing: dropped with it
    EXPECT_EQ(capture.text().find(L"hello\n[probe_a] hello"), std::wstring::npos);
    acDocManager->closeAll();
}

} // namespace
