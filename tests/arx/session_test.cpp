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

} // namespace
