#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "ed/aliases.h"
#include "ed/commands.h"
#include "support/output_capture.h"

namespace {

class Aliases : public testing::Test {
protected:
    void TearDown() override {
        svClearCommandAliases();
        std::remove(m_path.c_str());
    }

    bool load(const std::string& text, std::wstring& problems) {
        std::ofstream(m_path, std::ios::binary) << text;
        return svLoadCommandAliases(std::wstring(m_path.begin(), m_path.end()).c_str(), problems);
    }

    // Of this test alone: ctest runs the others at the same time.
    std::string m_path = testing::TempDir() + "aliases_test-" +
                         testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                         std::to_string(getpid()) + ".pgp";
};

TEST_F(Aliases, TheFileFormatWithCommentsProgramsAndBadLines) {
    std::wstring problems;
    ASSERT_TRUE(load("; a comment\n"
                     "  L ,   *LINE   ; trailing comment\n"
                     "pl,*Pline\r\n"
                     "NOTEPAD, notepad, 1, *File to edit: ,\n"
                     "\n"
                     "broken line\n"
                     "X, *\n"
                     "TWO WORDS, *LINE\n",
                     problems));
    EXPECT_EQ(svCommandForAlias(L"l"), L"LINE");
    EXPECT_EQ(svCommandForAlias(L"PL"), L"PLINE");
    EXPECT_EQ(svCommandForAlias(L"NOTEPAD"), L"") << "starts a program, not a command";
    EXPECT_EQ(svCommandForAlias(L"X"), L"");
    EXPECT_NE(problems.find(L":6:"), std::wstring::npos) << problems;
    EXPECT_NE(problems.find(L":7:"), std::wstring::npos) << problems;
    EXPECT_NE(problems.find(L":8:"), std::wstring::npos) << problems;
    EXPECT_EQ(problems.find(L":4:"), std::wstring::npos) << problems;
    EXPECT_EQ(svCommandAliases().size(), 2u);

    // A later file wins.
    problems.clear();
    ASSERT_TRUE(load("L, *LIST\n", problems));
    EXPECT_EQ(svCommandForAlias(L"L"), L"LIST");
    EXPECT_EQ(svCommandForAlias(L"PL"), L"PLINE") << "the earlier file's others stay";
    EXPECT_FALSE(svLoadCommandAliases(L"/no/such/file.pgp", problems));
}

int g_runs = 0;
void countRun() {
    ++g_runs;
}

TEST_F(Aliases, ACommandRunsByItsAliasButAnAliasNeverHidesACommand) {
    acedRegCmds->addCommand(L"ALIAS_TEST", L"PROBE", L"PROBE", ACRX_CMD_MODAL, &countRun);
    acedRegCmds->addCommand(L"ALIAS_TEST", L"PR", L"PR", ACRX_CMD_MODAL, &countRun);
    std::wstring problems;
    ASSERT_TRUE(load("P, *PROBE\nPR, *NOSUCH\nGONE, *NOSUCH\nQ, *P\n", problems));
    OutputCapture capture;
    EXPECT_TRUE(svRunCommand(L"p"));
    EXPECT_TRUE(svRunCommand(L"_P"));
    EXPECT_TRUE(svRunCommand(L"PR")) << "the command of that name";
    EXPECT_EQ(g_runs, 3);
    EXPECT_FALSE(svRunCommand(L"GONE"));
    EXPECT_NE(capture.text().find(L"GONE is an alias of NOSUCH, which is not a command now."),
              std::wstring::npos)
        << capture.text();
    EXPECT_FALSE(svRunCommand(L"Q")) << "aliases of aliases are not followed";
    EXPECT_EQ(g_runs, 3);
    acedRegCmds->removeGroup(L"ALIAS_TEST");
}

} // namespace
