#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

// The lines the dialog test module's handlers print, in order.
std::vector<std::string> handlerLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("[dlg] ", 0) == 0)
            lines.push_back(line.substr(6));
    }
    return lines;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

ProgramRun runDialogScript(const std::string& name, const std::string& text) {
    TempScript script(name, text);
    return runProgram("svhost", "--load dialog_module.arx '" + script.path() + "'");
}

} // namespace

// Every action becomes the pointer and key input it stands for, so each control's own
// procedure and the dialog's message map answer it.
TEST(DialogForms, EveryActionReachesItsHandlerOnceInOrder) {
    const std::string snapshot = testing::TempDir() + "every_control.png";
    const ProgramRun run = runDialogScript(
        "every.scr", "DLGTEST\nclick 1001\ntype 1003 \"a b\"\nclick 1004\nchoose 1005 Beta\n"
                     "select 1006 2\ndblclick 1006 0\nrclick 1006 1\nclick 202\nclick 201\n"
                     "rclick 1006 1\nkey Esc\nselect 1007 Parent/Child\nkey F1\nclick 1008\n"
                     "click 1010\nclick Yes\nkey Esc\nclick 1002\nsnapshot \"" +
                         snapshot + "\"\nclick OK\n");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> expected = {"pressed",
                                               "name: a",
                                               "name: a ",
                                               "name: a b",
                                               "link clicked",
                                               "chose Beta",
                                               "opened row 0",
                                               "menu chose 201",
                                               "menu chose 0",
                                               "tree at Child",
                                               "help",
                                               "asked: yes",
                                               "inner ended 2",
                                               "drawn button clicked",
                                               "ok",
                                               "ended 1"};
    EXPECT_EQ(handlerLines(run.output), expected) << run.output;
    // The form shows what a person sees: the choice, the selected row, the red row, the greyed
    // item of the popup menu and the expanded tree.
    EXPECT_TRUE(contains(run.output, "  1005   combo    \"Beta\"")) << run.output;
    EXPECT_TRUE(
        contains(run.output, "1 \"Two\" | \"row\"  (colour column 0 #FF0000 column 1 #FF0000)"))
        << run.output;
    EXPECT_FALSE(contains(run.output, "\"One\" | \"row\"  (colour")) << run.output;
    EXPECT_TRUE(contains(run.output, "  202    item     \"Greyed\"  (greyed)")) << run.output;
    EXPECT_TRUE(contains(run.output, "0 - \"Parent\"")) << run.output;
    EXPECT_TRUE(contains(run.output, "Dialog \"Inner\" at ")) << run.output;
    std::ifstream png(snapshot, std::ios::binary);
    std::string header(8, '\0');
    png.read(header.data(), 8);
    EXPECT_EQ(header, "\x89PNG\r\n\x1a\n");
}

TEST(DialogForms, ABadActionStopsTheScriptAtItsLine) {
    ProgramRun run = runDialogScript("unknown.scr", "DLGTEST\nclick 1001\nclick 4242\nclick OK\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "The form has no control 4242.")) << run.output;
    EXPECT_TRUE(contains(run.output, "unknown.scr:3: command DLGTEST failed")) << run.output;
    EXPECT_FALSE(contains(run.output, "[dlg] ok")) << run.output;

    run = runDialogScript("wrongkind.scr", "DLGTEST\ntype 1001 text\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Control 1001 is a button: type takes an edit field."))
        << run.output;

    run = runDialogScript("nosuchrow.scr", "DLGTEST\nselect 1006 7\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "The list has 3 row(s): no row 7.")) << run.output;

    run = runDialogScript("badverb.scr", "DLGTEST\npress 1001\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Unknown action \"press\"")) << run.output;
}

TEST(DialogForms, TheEndOfTheInputCancelsTheInnermostDialogThenTheCommand) {
    const ProgramRun run = runDialogScript("ends.scr", "DLGTEST\nclick 1008\n");
    EXPECT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> lines = handlerLines(run.output);
    ASSERT_EQ(lines.size(), 2u) << run.output;
    EXPECT_EQ(lines[0], "inner ended -1");
    EXPECT_EQ(lines[1], "ended -1");
}

// A named dialog keeps its place in the registry file of the user's configuration, from one
// svhost run to the next; a damaged file is reported and the dialog opens where it would anyway.
TEST(DialogForms, ANamedDialogOpensWhereItWasLeftInTheNextRun) {
    const std::string config = testing::TempDir() + "dialog_forms_config";
    std::system(("rm -rf '" + config + "'").c_str());
    const std::string env = "SVHOST_CONFIG_DIR='" + config + "' ";
    TempScript first("placed1.scr", "DLGPLACED\nmove 321,123\nclick Cancel\n");
    ProgramRun run = runCommand(env + "'" + binDir() + "/svhost' --load dialog_module.arx '" +
                                first.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::size_t at = run.output.find("Dialog \"Inner\" at ");
    ASSERT_NE(at, std::string::npos) << run.output;
    const std::string firstPlace = run.output.substr(at, run.output.find('\n', at) - at);
    EXPECT_NE(firstPlace, "Dialog \"Inner\" at 321,123");

    TempScript second("placed2.scr", "DLGPLACED\nclick Cancel\n");
    run = runCommand(env + "'" + binDir() + "/svhost' --load dialog_module.arx '" + second.path() +
                     "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Dialog \"Inner\" at 321,123\n")) << run.output;

    std::ofstream(config + "/registry.txt", std::ios::trunc) << "\x01garbage\n";
    run = runCommand(env + "'" + binDir() + "/svhost' --load dialog_module.arx '" + second.path() +
                     "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "svhost: registry:")) << run.output;
    EXPECT_TRUE(contains(run.output, firstPlace + "\n")) << run.output;
}
