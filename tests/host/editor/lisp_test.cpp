#include <gtest/gtest.h>

#include <string>

#include "acad/adscodes.h"
#include "ed/commands.h"
#include "ed/editor.h"
#include "ed/lisp.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"

namespace {

class LispDispatch : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(acrxLoadModule((binDirW() + L"/probe_a.arx").c_str(), false));
        m_capture.clear();
    }
    OutputCapture m_capture;
};

TEST_F(LispDispatch, QueuedExpressionReachesTheDefiningModule) {
    svEvaluateQueuedExpressions();
    EXPECT_EQ(m_capture.text(), L"[probe_a] hello\n");
    m_capture.clear();
    svEvaluateQueuedExpressions(); // the queue is empty now
    EXPECT_EQ(m_capture.text(), L"");
}

TEST_F(LispDispatch, FunctionsAreCommandsAndUnknownCodesFail) {
    EXPECT_TRUE(svRunCommand(L"probe_a_hello"));
    EXPECT_TRUE(svEvaluateLisp(L" ( c:PROBE_A_HELLO ) "));
    EXPECT_FALSE(svEvaluateLisp(L"(C:probe_a_stray)"));
    EXPECT_NE(m_capture.text().find(L"; error: Received nonexistent function code."),
              std::wstring::npos);
    EXPECT_FALSE(svEvaluateLisp(L"(C:nothing)"));
    EXPECT_FALSE(svEvaluateLisp(L"(setq a 1)"));
    EXPECT_FALSE(svEvaluateLisp(L"C:probe_a_hello"));
}

TEST_F(LispDispatch, UndefAndUnloadRemoveTheFunctions) {
    EXPECT_EQ(acedUndef(L"C:probe_a_hello", 3), RTERROR); // wrong code
    EXPECT_EQ(acedUndef(L"C:probe_a_hello", 0), RTNORM);
    EXPECT_FALSE(svEvaluateLisp(L"(C:probe_a_hello)"));
    EXPECT_TRUE(svEvaluateLisp(L"(C:probe_a_stray)") == false);
    ASSERT_TRUE(acrxUnloadModule(L"probe_a.arx", false));
    m_capture.clear();
    EXPECT_FALSE(svEvaluateLisp(L"(C:probe_a_stray)"));
    EXPECT_NE(m_capture.text().find(L"no function definition"), std::wstring::npos);
}

TEST_F(LispDispatch, OutsideAModuleNothingCanBeDefined) {
    EXPECT_EQ(acedDefun(L"C:loose", 0), RTERROR);
    EXPECT_EQ(acedGetFunCode(), RTERROR);
}

TEST_F(LispDispatch, EvaluationNotifiesEditorReactors) {
    struct Recorder : AcEditorReactor {
        std::wstring events;
        void lispWillStart(const wchar_t*) override { events += L"start "; }
        void lispEnded() override { events += L"ended "; }
        void lispCancelled() override { events += L"cancelled "; }
        void commandLineReady(AcApDocument*) override { events += L"ready "; }
    } recorder;
    acedEditor->addReactor(&recorder);
    svEvaluateLisp(L"(C:probe_a_hello)");
    svEvaluateLisp(L"(C:probe_a_stray)");
    acedEditor->removeReactor(&recorder);
    EXPECT_EQ(recorder.events, L"start ended ready start cancelled ready ");
}

} // namespace
