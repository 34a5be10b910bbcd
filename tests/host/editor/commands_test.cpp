#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ed/commands.h"
#include "ed/editor.h"
#include "ed/getinput.h"
#include "ed/input.h"
#include "rx/dictionary.h"
#include "support/output_capture.h"

namespace {

std::vector<std::wstring> g_events;

class RecordingReactor : public AcEditorReactor {
public:
    void unknownCommand(const wchar_t* name) override {
        g_events.push_back(L"unknown " + std::wstring(name));
    }
    void commandWillStart(const wchar_t* name) override {
        g_events.push_back(L"start " + std::wstring(name));
    }
    void commandEnded(const wchar_t* name) override {
        g_events.push_back(L"ended " + std::wstring(name));
    }
    void commandCancelled(const wchar_t* name) override {
        g_events.push_back(L"cancelled " + std::wstring(name));
    }
    void commandFailed(const wchar_t* name) override {
        g_events.push_back(L"failed " + std::wstring(name));
    }
    void commandLineReady(AcApDocument*) override { g_events.push_back(L"ready"); }
};

void plain() {
    g_events.push_back(L"plain body");
}
void other() {
    g_events.push_back(L"other body");
}
void failing() {
    svSetCommandFailed();
}
void throwing() {
    throw 42;
}
void asking() {
    int value = 0;
    acedGetInt(L"\nNumber: ", &value);
}
void outer() {
    svRunCommand(L"PLAIN");
}

class EditorCommands : public testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        acedEditor->addReactor(&m_reactor);
        acedEditor->addReactor(&m_reactor); // held once
    }
    void TearDown() override { acedEditor->removeReactor(&m_reactor); }
    RecordingReactor m_reactor;
    OutputCapture m_capture;
};

TEST_F(EditorCommands, StackAndEditorLiveInTheSystemRegistry) {
    EXPECT_EQ(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"), acedRegCmds);
    EXPECT_EQ(acrxSysRegistry()->at(L"AcEditor"), acedEditor);
    EXPECT_TRUE(AcEditorReactor::desc()->isDerivedFrom(AcRxEventReactor::desc()));
}

TEST_F(EditorCommands, LookupByEitherNameWithoutRegardToCase) {
    AcEdCommand* added = nullptr;
    ASSERT_EQ(acedRegCmds->addCommand(L"G1", L"plain", L"lokal", ACRX_CMD_MODAL, &plain, nullptr,
                                      -1, nullptr, &added),
              Acad::eOk);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"PLAIN"), added);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"Lokal"), added);
    EXPECT_EQ(acedRegCmds->lookupGlobalCmd(L"lokal"), nullptr);
    EXPECT_EQ(acedRegCmds->addCommand(L"g1", L"PLAIN", L"x", 0, &other), Acad::eDuplicateKey);
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"x", nullptr, 0, nullptr), Acad::eInvalidInput);
}

TEST_F(EditorCommands, LaterGroupsComeFirstAndGroupsRemoveWhole) {
    acedRegCmds->addCommand(L"Early", L"same", L"same", 0, &plain);
    acedRegCmds->addCommand(L"Early", L"second", L"second", 0, &plain);
    acedRegCmds->addCommand(L"Late", L"same", L"same", 0, &other);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"same")->functionAddr(), &other);
    EXPECT_EQ(acedRegCmds->removeGroup(L"late"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"same")->functionAddr(), &plain);
    EXPECT_EQ(acedRegCmds->groupCommands(L"Early").size(), 2u);
    EXPECT_EQ(acedRegCmds->removeCmd(L"Early", L"second"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->removeGroup(L"Early"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"same"), nullptr);
    EXPECT_EQ(acedRegCmds->removeGroup(L"Early"), Acad::eKeyNotFound);
}

TEST_F(EditorCommands, RunningACommandNotifiesStartEndAndReadyOnce) {
    acedRegCmds->addCommand(L"G", L"PLAIN", L"PLAIN", 0, &plain);
    acedRegCmds->addCommand(L"G", L"OUTER", L"OUTER", 0, &outer);
    EXPECT_TRUE(svRunCommand(L"_.plain"));
    EXPECT_EQ(g_events,
              (std::vector<std::wstring>{L"start PLAIN", L"plain body", L"ended PLAIN", L"ready"}));
    g_events.clear();
    EXPECT_TRUE(svRunCommand(L"outer"));
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"start OUTER", L"start PLAIN", L"plain body",
                                                   L"ended PLAIN", L"ended OUTER", L"ready"}));
}

TEST_F(EditorCommands, CancelFailureThrowAndUnknownCommands) {
    acedRegCmds->addCommand(L"G", L"ASK", L"ASK", 0, &asking);
    acedRegCmds->addCommand(L"G", L"FAIL", L"FAIL", 0, &failing);
    acedRegCmds->addCommand(L"G", L"THROW", L"THROW", 0, &throwing);
    SvScriptedInput input({L"^C"});
    SvInputSource* previous = svSetInputSource(&input);
    EXPECT_FALSE(svRunCommand(L"ASK"));
    svSetInputSource(previous);
    EXPECT_FALSE(svRunCommand(L"FAIL"));
    EXPECT_FALSE(svRunCommand(L"THROW"));
    EXPECT_FALSE(svRunCommand(L"NOSUCH"));
    EXPECT_EQ(g_events,
              (std::vector<std::wstring>{L"start ASK", L"cancelled ASK", L"ready", L"start FAIL",
                                         L"failed FAIL", L"ready", L"start THROW", L"failed THROW",
                                         L"ready", L"unknown NOSUCH"}));
    EXPECT_NE(m_capture.text().find(L"Unknown command \"NOSUCH\""), std::wstring::npos);
}

TEST_F(EditorCommands, ReactorRemovedDuringANotificationHearsNothingMore) {
    struct SelfRemoving : AcEditorReactor {
        int heard = 0;
        void commandWillStart(const wchar_t*) override {
            ++heard;
            acedEditor->removeReactor(this);
        }
        void commandEnded(const wchar_t*) override { ++heard; }
    } selfRemoving;
    acedEditor->addReactor(&selfRemoving);
    acedRegCmds->addCommand(L"G", L"PLAIN", L"PLAIN", 0, &plain);
    svRunCommand(L"PLAIN");
    EXPECT_EQ(selfRemoving.heard, 1);
}

} // namespace

#include "ed/frame.h"

namespace {

TEST(MainFrame, IsOneStableWindow) {
    CWnd* frame = acedGetAcadFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame, acedGetAcadFrame());
    EXPECT_NE(frame->GetSafeHwnd(), nullptr);
}

} // namespace
