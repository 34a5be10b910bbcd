// Scripts and unsaved work: the save question is answered on the script's next line.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class SavingScript : public testing::Test {
protected:
    void SetUp() override {
        m_folder = testing::TempDir() + "sv-saving-" + std::to_string(getpid());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    ProgramRun run(const std::string& lines) {
        TempScript script("saving-" + std::to_string(getpid()) + ".scr", lines);
        return runCommand("cd '" + m_folder + "' && '" + binDir() + "/svhost' '" + script.path() +
                          "'");
    }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(m_folder + "/" + name);
    }

    std::string m_folder;
};

TEST_F(SavingScript, TheAnswersOnTheNextLineSaveDiscardOrKeepTheDrawingOpen) {
    ProgramRun yes = run("CIRCLE 0,0 1\nCLOSE\nYes\nfloor\nDRAWINGS\n");
    EXPECT_EQ(yes.status, 0) << yes.output;
    EXPECT_TRUE(contains(yes.output, "Saved floor.svd.")) << "the extension is added";
    EXPECT_TRUE(exists("floor.svd"));
    EXPECT_TRUE(contains(yes.output, "No drawing is open.")) << yes.output;

    ProgramRun no = run("CIRCLE 0,0 1\nQUIT\nn\nCIRCLE 0,0 2\n");
    EXPECT_EQ(no.status, 0) << no.output;
    EXPECT_FALSE(contains(no.output, "CIRCLE 6")) << "QUIT ended the script";
    EXPECT_FALSE(contains(no.output, "not saved")) << "No says so already";

    ProgramRun cancel = run("CIRCLE 0,0 1\nCLOSE\nC\nDRAWINGS\nQUIT\n\nsite.svd\n");
    EXPECT_EQ(cancel.status, 0) << cancel.output;
    EXPECT_TRUE(contains(cancel.output, "Drawing1.svd stays open.")) << cancel.output;
    EXPECT_TRUE(contains(cancel.output, "* 1 Drawing1.svd")) << cancel.output;
    EXPECT_TRUE(contains(cancel.output, "Saved site.svd.")) << "Enter is Yes";
    EXPECT_TRUE(exists("site.svd"));
}

TEST_F(SavingScript, AScriptThatEndsWithChangesSaysThatTheyAreNotSaved) {
    for (const char* ending : {"", "QUIT\n", "CLOSE\n"}) {
        ProgramRun run = this->run(std::string("NEW\nCIRCLE 0,0 1\n") + ending);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_TRUE(contains(run.output, "The changes to Drawing2.svd are not saved."))
            << run.output;
        EXPECT_FALSE(contains(run.output, "Drawing1.svd are not")) << "unchanged: " << run.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_folder));
}

TEST_F(SavingScript, ABadAnswerStopsTheScriptAtItsLine) {
    ProgramRun run = this->run("CIRCLE 0,0 1\nCLOSE\nPerhaps\nCIRCLE 5,5 1\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(
        contains(run.output, "saving-" + std::to_string(getpid()) + ".scr:3: command CLOSE failed"))
        << run.output;
    EXPECT_FALSE(contains(run.output, "CIRCLE 6")) << run.output;
}

TEST_F(SavingScript, SaveAsksANameOnceAndThenSavesUnderIt) {
    ProgramRun run = this->run("CIRCLE 0,0 1\nSAVE\nplan\nCIRCLE 0,0 2\nSAVE\nDRAWINGS\n"
                               "SAVEAS copy.v2\nQUIT\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("Save drawing as"), run.output.rfind("Save drawing as"))
        << "asked once: " << run.output;
    EXPECT_TRUE(contains(run.output, "* 1 plan.svd")) << run.output;
    EXPECT_TRUE(contains(run.output, "Saved copy.v2.")) << "an extension of its own is kept";
    EXPECT_FALSE(contains(run.output, "Save changes")) << run.output;
    EXPECT_TRUE(exists("plan.svd"));
}

TEST_F(SavingScript, UndoAfterASaveIsAChangeToo) {
    ProgramRun run = this->run("CIRCLE 0,0 1\nSAVEAS a.svd\nU\nQUIT\n");
    EXPECT_TRUE(contains(run.output, "The changes to a.svd are not saved.")) << run.output;
}

} // namespace
