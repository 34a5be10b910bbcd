// Sessions at a terminal: the questions asked on the way out, Ctrl-C and answers asked again.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "terminal_session.h"

namespace {

constexpr const char* kPrompt = "Command: ";

TEST(Terminal, QuitAndCloseAskToSaveChanges) {
    TerminalSession session;
    ASSERT_TRUE(session.started());
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    // Nothing changed yet: QUIT would not ask, so a change comes first.
    session.type("CIRCLE 0,0 1\n");
    ASSERT_TRUE(session.waitFor("CIRCLE 5 created.")) << session.output();
    session.type("QUIT\n");
    ASSERT_TRUE(session.waitFor("Save changes to Drawing1.svd? [Yes/No/Cancel] <Yes>: "))
        << session.output();
    session.type("maybe\n");
    ASSERT_TRUE(session.waitFor("Save changes to Drawing1.svd?")) << "asked again";
    session.type("c\n");
    ASSERT_TRUE(session.waitFor(kPrompt)) << "Cancel keeps the session" << session.output();
    session.type("CLOSE\n");
    ASSERT_TRUE(session.waitFor("Save changes to Drawing1.svd?")) << session.output();
    session.type("Cancel\n");
    ASSERT_TRUE(session.waitFor("Drawing1.svd stays open.")) << session.output();
    session.type("CLOSE\n");
    ASSERT_TRUE(session.waitFor("Save changes to Drawing1.svd?")) << session.output();
    session.type("N\n");
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("DRAWINGS\n");
    ASSERT_TRUE(session.waitFor("No drawing is open.")) << session.output();
    session.type("QUIT\n");
    EXPECT_EQ(session.exitStatus(), 0) << session.output();
}

TEST(Terminal, CtrlCCancelsTheSelectionAndTheSessionGoesOn) {
    TerminalSession session;
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("CIRCLE 0,0 1\n");
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("ERASE\n");
    ASSERT_TRUE(session.waitFor("Select objects: ")) << session.output();
    session.type("0,1\n");
    ASSERT_TRUE(session.waitFor("1 found")) << session.output();
    session.type("\x03");
    ASSERT_TRUE(session.waitFor("*Cancel*")) << session.output();
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    // Half a line typed and then Ctrl-C: the line is gone, the prompt stays.
    session.type("FROB");
    session.type("\x03");
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("LIST ALL\n\n");
    ASSERT_TRUE(session.waitFor("1 object(s) listed.")) << "the circle was not erased";
    EXPECT_EQ(session.output().find("FROB\""), std::string::npos) << session.output();
    // Ctrl-D at the prompt ends the input: the circle is still unsaved.
    session.type("\x04");
    ASSERT_TRUE(session.waitFor("Save changes to Drawing1.svd?")) << session.output();
    session.type("no\n");
    EXPECT_EQ(session.exitStatus(), 0) << session.output();
}

TEST(Terminal, InteractiveSessionGoesOnAfterAnError) {
    TerminalSession session;
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("FROBNICATE\n");
    ASSERT_TRUE(session.waitFor("Unknown command")) << session.output();
    // A bad value is asked again rather than failing the command.
    session.type("SETVAR LUNITS abc\n");
    ASSERT_TRUE(session.waitFor("Invalid input.")) << session.output();
    ASSERT_TRUE(session.waitFor("New value for LUNITS <2>: ")) << session.output();
    session.type("3\n");
    ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
    session.type("CIRCLE 0,0 -1\n");
    ASSERT_TRUE(session.waitFor("Radius or [Diameter]: ")) << session.output();
    session.type("Di 4\n");
    ASSERT_TRUE(session.waitFor("CIRCLE 5 created.")) << session.output();
    session.type("GETVAR LUNITS\n");
    ASSERT_TRUE(session.waitFor("LUNITS = 3")) << session.output();
    session.type("QUIT\nN\n");
    EXPECT_EQ(session.exitStatus(), 0) << session.output();
}

TEST(Terminal, SaveOfANewDrawingAsksItsNameAndTheDrawingOpensFromTheCommandLine) {
    const std::string folder = testing::TempDir() + "sv-terminal-save-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    {
        TerminalSession session({}, folder);
        ASSERT_TRUE(session.waitFor(kPrompt)) << session.output();
        session.type("CIRCLE 2,2 1\nSAVE\n");
        ASSERT_TRUE(session.waitFor("Save drawing as <Drawing1.svd>: ")) << session.output();
        session.type("plan\n");
        ASSERT_TRUE(session.waitFor("Saved plan.svd.")) << session.output();
        session.type("QUIT\n");
        EXPECT_EQ(session.exitStatus(), 0) << "saved: no question" << session.output();
    }
    ASSERT_TRUE(std::filesystem::exists(folder + "/plan.svd"));
    TerminalSession session({folder + "/plan.svd"});
    ASSERT_TRUE(session.waitFor("plan.svd is the current drawing.")) << session.output();
    session.type("DRAWINGS\n");
    ASSERT_TRUE(session.waitFor("* 1 " + folder + "/plan.svd")) << session.output();
    session.type("LIST 2,3\n\n");
    ASSERT_TRUE(session.waitFor("1 object(s) listed.")) << session.output();
    session.type("QUIT\n");
    EXPECT_EQ(session.exitStatus(), 0) << session.output();
    std::filesystem::remove_all(folder);
}

} // namespace
