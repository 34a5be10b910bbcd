#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ed/commands.h"
#include "ed/getinput.h"
#include "ed/input.h"
#include "ed/menus.h"
#include "support/output_capture.h"

namespace {

std::wstring writeFile(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return std::wstring(path.begin(), path.end());
}

const char* kMenu = "; sample\n"
                    "[MenuGroup]\n"
                    "Name=SAMPLE\n"
                    "\n"
                    "[Menu Sample tools]\n"
                    "Create link=^C^C_sv_linkcreate\n"
                    "Update=^C^C_sv_update\n";

TEST(Menus, MenuloadThroughAcedCommandLoadsTheGroupOnce) {
    OutputCapture capture;
    const std::wstring path = writeFile("sample.cui", kMenu);
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"SAMPLE"));
    EXPECT_EQ(acedCommand(RTSTR, L"_.menuload", RTSTR, path.c_str(), 0), RTNORM);
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"sample"));
    const std::vector<SvMenuItem> items = svMenuGroupItems(L"SAMPLE");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].menu, L"Sample tools");
    EXPECT_EQ(items[1].label, L"Update");
    EXPECT_EQ(items[1].macro, L"^C^C_sv_update");

    EXPECT_EQ(acedCommand(RTSTR, L"_.menuload", RTSTR, path.c_str(), 0), RTERROR);
    EXPECT_NE(capture.text().find(L"loaded already"), std::wstring::npos);
    EXPECT_EQ(acedCommand(RTSTR, L"MENUUNLOAD", RTSTR, L"Sample", 0), RTNORM);
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"SAMPLE"));

    std::wstring windowsStyle = path;
    windowsStyle[windowsStyle.rfind(L'/')] = L'\\';
    EXPECT_EQ(acedCommand(RTSTR, L"_.menuload", RTSTR, windowsStyle.c_str(), 0), RTNORM);
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"SAMPLE"));
    // The groups are process-wide; leave none behind for the tests that follow.
    EXPECT_EQ(acedCommand(RTSTR, L"MENUUNLOAD", RTSTR, L"SAMPLE", 0), RTNORM);
}

TEST(Menus, MalformedOrMissingFilesAreRefusedWithTheLine) {
    OutputCapture capture;
    EXPECT_EQ(acedCommand(RTSTR, L"_.menuload", RTSTR, L"/no/such.cui", 0), RTERROR);
    const std::wstring bad = writeFile("bad.cui", "[MenuGroup]\nName=BAD\n[Menu x\n");
    EXPECT_EQ(acedCommand(RTSTR, L"_.menuload", RTSTR, bad.c_str(), 0), RTERROR);
    EXPECT_NE(capture.text().find(L"bad.cui:3: unclosed section heading"), std::wstring::npos);
    const std::wstring nameless = writeFile("nameless.cui", "[Menu x]\na=b\n");
    std::wstring reason;
    EXPECT_FALSE(svLoadMenuFile(nameless.c_str(), reason));
    EXPECT_NE(reason.find(L"no menu group name"), std::wstring::npos);
    EXPECT_TRUE(svMenuGroupNames().empty());
}

std::vector<std::wstring> g_words;

void wordAroundNestedCommand() {
    wchar_t word[SV_MAX_INPUT];
    acedGetString(0, L"", word);
    g_words.emplace_back(word);
    acedCommand(RTSTR, L"MENUUNLOAD", RTSTR, L"NONE", 0);
    acedGetString(0, L"", word);
    g_words.emplace_back(word);
}

TEST(Menus, AcedCommandKeepsTheOuterLineAndRefusesBadLists) {
    OutputCapture capture;
    acedRegCmds->addCommand(L"T", L"AROUND", L"AROUND", 0, &wordAroundNestedCommand);
    SvScriptedInput input({L"AROUND first second"});
    svSetInputSource(&input);
    std::wstring command;
    ASSERT_TRUE(svReadCommand(command));
    svRunCommand(command.c_str());
    EXPECT_EQ(g_words, (std::vector<std::wstring>{L"first", L"second"}));
    svSetInputSource(nullptr);

    EXPECT_EQ(acedCommand(RTSTR, L"NOSUCHCOMMAND", 0), RTERROR);
    EXPECT_EQ(acedCommand(12345, 0), RTERROR);
    EXPECT_EQ(acedCommand(0), RTERROR);
}

} // namespace
