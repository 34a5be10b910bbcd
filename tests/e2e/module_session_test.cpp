// The add-on's modules loaded and unloaded while a linked drawing is open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ModuleSession : public testing::Test {
protected:
    void SetUp() override {
        folder = testing::TempDir() + "module_session_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ASSERT_EQ(inFolder("'" + binDir() + "/make_sample' sample.svd").status, 0);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    ProgramRun inFolder(const std::string& command) const {
        return runCommand("cd '" + folder + "' && " + command);
    }
    ProgramRun session(const std::string& lines) const {
        std::ofstream(folder + "/session.scr")
            << "ARXLOAD " + binDir() + "/SentavellUi17.arx\nOPEN sample.svd\n" + lines;
        return inFolder("'" + binDir() + "/svhost' session.scr");
    }

    // A script of svhost alone, without the add-on.
    ProgramRun plainSession(const std::string& lines) const {
        std::ofstream(folder + "/plain.scr") << lines;
        return inFolder("'" + binDir() + "/svhost' plain.scr");
    }

    std::string bytesOf(const std::string& name) const {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string folder;
};

// The application module goes and the links go on; the database module stays while its objects
// live, says why, and the drawing can still be edited and saved.
TEST_F(ModuleSession, DatabaseModuleStaysWhileItsObjectsLive) {
    const ProgramRun run = session("ARXUNLOAD SentavellUi17.arx\n"
                                   "ARXUNLOAD sentavell17.dbx\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "SentavellUi17.arx unloaded.")) << run.output;
    EXPECT_TRUE(contains(run.output, "sentavell17.dbx cannot be unloaded: ")) << run.output;
    EXPECT_TRUE(contains(run.output, " objects of its classes live in open drawings.\n"))
        << run.output;

    const ProgramRun edited = session("ARXUNLOAD SentavellUi17.arx\n"
                                      "VERTEX 5,-1 10,-1 12,-1\n"
                                      "LIST 5,-1.5 \"\"\n"
                                      "SAVEAS kept.svd\n"
                                      "QUIT\n");
    EXPECT_EQ(edited.status, 0) << edited.output;
    EXPECT_TRUE(contains(edited.output, "\"12.0 m\"")) << edited.output;
    EXPECT_TRUE(std::filesystem::exists(folder + "/kept.svd"));
}

TEST_F(ModuleSession, DatabaseModuleGoesOnceItsDrawingsAreClosed) {
    const ProgramRun run = session("ARXUNLOAD SentavellUi17.arx\n"
                                   "CLOSE\n"
                                   "ARXUNLOAD sentavell17.dbx\n"
                                   "QUIT\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "sentavell17.dbx unloaded.")) << run.output;
}

// Opened before the add-on was loaded, the drawing's links and styles come alive with it: the label
// follows its source and the saved drawing holds the new value.
TEST_F(ModuleSession, ADrawingOpenedBeforeTheModulesFollowsItsSourcesAfter) {
    std::ofstream(folder + "/before.scr") << "OPEN sample.svd\n"
                                             "ARXLOAD "
                                          << binDir()
                                          << "/SentavellUi17.arx\n"
                                             "VERTEX 5,-1 10,-1 12,-1\n"
                                             "LIST 5,-1.5 \"\"\n"
                                             "SAVEAS after.svd\n";
    const ProgramRun run = inFolder("'" + binDir() + "/svhost' before.scr");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "\"12.0 m\"")) << run.output;
    EXPECT_FALSE(contains(run.output, "stay proxies")) << run.output;

    std::ofstream(folder + "/reopen.scr") << "OPEN after.svd\nLIST 5,-1.5 \"\"\n";
    const ProgramRun reopened = inFolder("'" + binDir() + "/svhost' reopen.scr");
    EXPECT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_TRUE(contains(reopened.output, "\"12.0 m\"")) << reopened.output;
}

// Labels rewritten where the add-on was not loaded are found stale when it comes back, whether
// the drawing is opened under it or it is loaded over the drawing; the check itself changes
// nothing, and a repair leaves a drawing that reopens without a word.
TEST_F(ModuleSession, LabelsEditedWithoutTheAddOnAreStaleUntilFixed) {
    const ProgramRun edited = plainSession("OPEN sample.svd\n"
                                           "CHTEXT #23 \"12 feet\"\n"
                                           "CHTEXT #16 AREA lots\n"
                                           "SAVE\n");
    ASSERT_EQ(edited.status, 0) << edited.output;
    const std::string foreign = bytesOf("sample.svd");

    const ProgramRun listed = session("sv_linklist\n\neXit\nSAVEAS same.svd\n");
    EXPECT_EQ(listed.status, 0) << listed.output;
    EXPECT_TRUE(contains(listed.output, "sample.svd: 2 labels no longer show what their links "
                                        "give (sv_linklist lists them).\n"))
        << listed.output;
    EXPECT_TRUE(contains(listed.output, "#22 LINE -> #23 TEXT  style \"Length\"  label text "
                                        "\"12 feet\"  stale (the style gives \"10.0 m\")"))
        << listed.output;
    EXPECT_TRUE(contains(listed.output, "label text \"lots\"  stale (the style gives "
                                        "\"24.00 m2\")"))
        << listed.output;
    EXPECT_TRUE(contains(listed.output, "Links: 7; live 5, stale 2, orphan 0, style missing 0, "
                                        "source unreadable 0."))
        << listed.output;
    EXPECT_EQ(bytesOf("same.svd"), foreign) << "the check and eXit leave every record as filed";

    const ProgramRun loadedOver =
        plainSession("OPEN sample.svd\nARXLOAD " + binDir() + "/SentavellUi17.arx\n");
    EXPECT_TRUE(contains(loadedOver.output, "sample.svd: 2 labels no longer show"))
        << loadedOver.output;

    // One label erased as well: its link is an orphan, and goes with the repair.
    const ProgramRun fixed = session("ERASE #27 \"\"\nsv_linklist\n\nFix\nSAVEAS fixed.svd\n");
    EXPECT_EQ(fixed.status, 0) << fixed.output;
    EXPECT_TRUE(contains(fixed.output, "#26 LINE -> #27 TEXT (erased)  style \"Length\"  label "
                                       "text \"\"  orphan (label erased)"))
        << fixed.output;
    EXPECT_TRUE(contains(fixed.output, "Labels rewritten: 2. Links removed: 1.")) << fixed.output;
    const ProgramRun reopened = session("OPEN fixed.svd\nsv_linklist\n\n");
    EXPECT_EQ(reopened.status, 0) << reopened.output;
    EXPECT_FALSE(contains(reopened.output, "fixed.svd: ")) << reopened.output;
    EXPECT_TRUE(contains(reopened.output, "Links: 6; live 6, stale 0, orphan 0,"))
        << reopened.output;
    EXPECT_TRUE(contains(reopened.output, "label text \"10.0 m\"  live")) << reopened.output;
}

// COPY of a source with its label links the copies; of a self-linked object, a copy that labels
// itself; of a label or a source alone, a plain copy. UNDO takes a copy back with its links.
TEST_F(ModuleSession, CopiesOfLinkedObjectsFollowTheCopyRules) {
    const ProgramRun run = session("COPY #22 #23 \"\" 0,0 0,-10\n" // line and its length
                                   "COPY #26 \"\" 0,0 0,-20\n"     // a line alone
                                   "COPY #27 \"\" 0,0 0,-30\n"     // a length text alone
                                   "COPY #2A \"\" 0,0 5,5\n"       // the survey point
                                   "VERTEX 0,-11 10,-11 20,-11\n"  // the copied line
                                   "VERTEX 0,-1 10,-1 15,-1\n"     // the original line
                                   "sv_linklist\n\n"
                                   "UNDO 3\n"
                                   "sv_linklist\n\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "LINE 30 created.\nTEXT 33 created.")) << run.output;
    EXPECT_TRUE(contains(run.output, "#30 LINE -> #33 TEXT  style \"Length\"  label text "
                                     "\"20.0 m\"  live"))
        << "the copied line writes the copied text" << run.output;
    EXPECT_TRUE(contains(run.output, "#22 LINE -> #23 TEXT  style \"Length\"  label text "
                                     "\"15.0 m\"  live"))
        << "and the original its own" << run.output;
    EXPECT_FALSE(contains(run.output, "#34 LINE ->")) << "a source alone is copied unlinked";
    EXPECT_FALSE(contains(run.output, "-> #37 TEXT")) << "a label alone is a plain copy";
    EXPECT_TRUE(contains(run.output, "#38 INSERT -> self  style \"Easting\"  label text "
                                     "\"E 18.00\"  live"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "#38 INSERT -> self  style \"Northing\"  label text "
                                     "\"N 7.00\"  live"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "Links: 10; live 10,")) << run.output;
    // The two vertex moves and the survey point's copy are undone; the copied line stays.
    EXPECT_TRUE(contains(run.output, "Links: 8; live 8,")) << run.output;
    EXPECT_TRUE(contains(run.output, "#30 LINE -> #33 TEXT  style \"Length\"  label text "
                                     "\"10.0 m\"  live"))
        << run.output;
}

// One run of sv_linkbatch is one step for UNDO, however many links it made.
TEST_F(ModuleSession, OneUndoTakesBackEveryLinkOfABatch) {
    const ProgramRun run = session("PLINE 0,20 6,20 6,24 0,24 C\n"
                                   "INSERT ROOM 3,22 1 0 Hall ?\n"
                                   "PLINE 10,20 14,20 14,22 10,22 C\n"
                                   "INSERT ROOM 12,21 1 0 Store ?\n"
                                   "PLINE 20,20 22,20 22,22 20,22 C\n"
                                   "sv_linkbatch\n\nW -1,19 23,25\n\n"
                                   "sv_linklist\n\n"
                                   "UNDO 1\n"
                                   "sv_linklist\n\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Linked: #30 LWPOLYLINE -> #31 INSERT\n"
                                     "Linked: #34 LWPOLYLINE -> #35 INSERT\n"
                                     "Left without a label: #38 LWPOLYLINE\n"
                                     "Links made: 2. Sources left without a label: 1."))
        << run.output;
    EXPECT_TRUE(contains(run.output, "#34 LWPOLYLINE -> #35 INSERT  style \"Room area\"  label "
                                     "text \"8.00 m2\"  live"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "Links: 9; live 9,")) << run.output;
    EXPECT_TRUE(contains(run.output, "Undone: 1 command(s).")) << run.output;
    EXPECT_TRUE(contains(run.output, "Links: 7; live 7,")) << run.output;
}

// Without the add-on its links are objects of unknown classes: a copy leaves them behind rather
// than point them at what it cannot know.
TEST_F(ModuleSession, CopiesMadeWithoutTheAddOnCarryNoLinks) {
    const ProgramRun copied = plainSession("OPEN sample.svd\n"
                                           "COPY #22 #23 \"\" 0,0 0,-10\n"
                                           "SAVE\n");
    ASSERT_EQ(copied.status, 0) << copied.output;
    const ProgramRun listed = session("sv_linklist\n\n");
    EXPECT_TRUE(contains(listed.output, "Links: 7; live 7,")) << listed.output;
    EXPECT_FALSE(contains(listed.output, "#30 LINE ->")) << listed.output;
}

} // namespace
