// The application module in a session of the host program, as a user's script drives it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
                                         "sv_update\n"
                                         "GETVAR CMDECHO\n"
                                         "QUIT\n");
    // Without a browser the help topic comes to the command line.
    for (const char* name : {"BROWSER", "DISPLAY", "WAYLAND_DISPLAY"})
        unsetenv(name);
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Sentavell keeps labels in step")) << run.output;
    EXPECT_TRUE(contains(run.output, "The command sv_stylemgr is not available in this build."))
        << run.output;
    EXPECT_FALSE(contains(run.output, "Menu not loaded")) << run.output;
}

} // namespace
