// The application module in a session of the host program, as a user's script drives it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Session, LoadingBringsTheMenuAndTheCommandsAnswerInAScript) {
    // Unloading the menu fails, and stops the script, unless loading the module loaded it.
    TempScript script("session.scr", "ARXLOAD " + binDir() +
                                         "/SentavellUi17.arx\n"
                                         "MENUUNLOAD SENTAVELL\n"
                                         "sv_help\n"
                                         "sv_stylemgr\n"
                                         "click OK\n"
                                         "sv_update\n"
                                         "GETVAR CMDECHO\n"
                                         "QUIT\n");
    // Without a browser the help topic comes to the command line.
    for (const char* name : {"BROWSER", "DISPLAY", "WAYLAND_DISPLAY"})
        unsetenv(name);
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Sentavell keeps labels in step")) << run.output;
    EXPECT_TRUE(contains(run.output, "Link styles")) << "the manager's form" << run.output;
    EXPECT_FALSE(contains(run.output, "Menu not loaded")) << run.output;
}

TEST(Session, TheAboutBoxShowsTheVersionAndItsLinkOpensTheProductsSite) {
    const std::string folder = testing::TempDir() + "sv-about-session-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string opener = folder + "/opener";
    const std::string opened = folder + "/opened";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$*\" > '" << opened << ".part'\nmv '"
                          << opened << ".part' '" << opened << "'\n";
    chmod(opener.c_str(), 0755);
    setenv("BROWSER", opener.c_str(), 1);
    TempScript script("about.scr", "ARXLOAD " + binDir() +
                                       "/SentavellUi17.arx\n"
                                       "sv_about\n"
                                       "click 2014\n"
                                       "click OK\n"
                                       "QUIT\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    unsetenv("BROWSER");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "17.0.0.0")) << run.output;
    EXPECT_TRUE(contains(run.output, "Visit the Sentavell web site")) << run.output;
    for (int i = 0; i < 500 && !std::filesystem::exists(opened); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ostringstream address;
    address << std::ifstream(opened).rdbuf();
    EXPECT_EQ(address.str(), "https://sentavell.example/");
    std::filesystem::remove_all(folder);
}

// A new style, an edited one and a deleted one: Cancel takes all three back, so the drawing saves
// byte for byte as before the command but for its handle seed (handles are never given twice, so
// those the undone styles took stay spent); OK keeps them.
TEST(Session, TheStyleManagerKeepsItsChangesOnOkAndDropsThemOnCancel) {
    const std::string folder = testing::TempDir() + "sv-stylemgr-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string newStyle = "rclick 2000\nclick 32771\n";
    const std::string threeChanges = newStyle + "type 2003 Spare\nchoose 2007 \"Text modifier\"\n"
                                                "click OK\n"
                                                "dblclick 2000 Area\n"
                                                "type 2006 \"Edited here\"\n"
                                                "click OK\n"
                                                "rclick 2000 Unused\n"
                                                "click 32773\n"
                                                "click Yes\n";
    TempScript script(
        "stylemgr.scr",
        "ARXLOAD " + binDir() + "/SentavellUi17.arx\n" + "NEW\n" +
            "PLINE 0,0 6,0 6,4 0,4 C\n"
            "TEXT 2,2 0.3 0 ?\n"
            "sv_stylemgr\n" +
            newStyle + "type 2003 Area\ntype 2006 \"Floor area\"\nchoose 2007 \"Text modifier\"\n" +
            "click OK\n" + newStyle +
            "type 2003 Unused\nchoose 2007 \"Text modifier\"\nclick OK\n" +
            "click OK\n"
            "sv_linkcreate\n3,0\n2.1,2.1\n"
            "SAVEAS " +
            folder + "/before.svd\n" + "sv_stylemgr\n" + threeChanges + "click Cancel\n" +
            "SAVEAS " + folder + "/cancelled.svd\n" + "sv_stylemgr\n" + threeChanges +
            "click OK\n"
            "sv_stylemgr\nshow\nclick Cancel\n"
            "QUIT\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    auto bytes = [&](const std::string& name) {
        std::ostringstream content;
        content << std::ifstream(folder + "/" + name, std::ios::binary).rdbuf();
        return content.str();
    };
    auto withoutSeed = [&](const std::string& name) {
        std::string content = bytes(name);
        constexpr std::size_t kSeedAt = 12; // after the signature and the format version
        if (content.size() >= kSeedAt + 8)
            content.replace(kSeedAt, 8, 8, '\0');
        return content;
    };
    ASSERT_FALSE(bytes("before.svd").empty());
    EXPECT_EQ(withoutSeed("cancelled.svd"), withoutSeed("before.svd"));
    EXPECT_NE(bytes("cancelled.svd"), bytes("before.svd")) << "the seed moved on";
    // The last form lists the styles as OK left them.
    const std::string last = run.output.substr(run.output.rfind("Dialog \"Link styles\""));
    EXPECT_TRUE(contains(last, "\"Area\" | \"Edited here\"")) << last;
    EXPECT_TRUE(contains(last, "\"Spare\"")) << last;
    EXPECT_FALSE(contains(last, "\"Unused\"")) << last;
    std::filesystem::remove_all(folder);
}

} // namespace
