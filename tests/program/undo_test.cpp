#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Each LIST of the transcript, in order.
std::vector<std::string> listings(const std::string& output) {
    std::vector<std::string> all;
    std::size_t from = 0;
    for (std::size_t end = output.find("object(s) listed."); end != std::string::npos;
         end = output.find("object(s) listed.", end + 1)) {
        all.push_back(output.substr(from, end - from));
        from = end + 1;
    }
    return all;
}

ProgramRun interactive(const std::string& lines) {
    return runProgram("svhost", "<<'EOF'\n" + lines + "EOF");
}

TEST(SvhostUndo, WholeCommandsAreUndoneAndRedone) {
    TempScript script("undo.scr", "CIRCLE 5,5 1\n"
                                  "LINE 0,0 10,0 20,0 \"\"\n"
                                  "MOVE #5 \"\" 0,0 1,0\n"
                                  "UNDO 2\n"
                                  "LIST ALL \"\"\n"
                                  "REDO\n"
                                  "LIST ALL \"\"\n"
                                  "U\n"
                                  "UNDO\n\n"
                                  "REDO\n"
                                  "LIST ALL \"\"\n"
                                  "SETVAR LUPREC 2\n"
                                  "U\n"
                                  "GETVAR LUPREC\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 3u) << run.output;
    // The two segments of one LINE went together, the MOVE with them.
    EXPECT_EQ(count(lists[0], "from point:"), 0u) << lists[0];
    EXPECT_TRUE(contains(lists[0], "X=5.0000  Y=5.0000")) << lists[0];
    // REDO does all that UNDO 2 took back.
    EXPECT_EQ(count(lists[1], "from point:"), 2u) << lists[1];
    EXPECT_TRUE(contains(lists[1], "X=6.0000  Y=5.0000")) << lists[1];
    // U, then UNDO with its default of one; REDO brings back the last of them only.
    EXPECT_EQ(count(lists[2], "from point:"), 2u) << lists[2];
    EXPECT_TRUE(contains(lists[2], "X=5.0000  Y=5.0000")) << lists[2];
    EXPECT_EQ(count(run.output, "Undone: 1 command(s)."), 3u) << run.output;
    EXPECT_TRUE(contains(run.output, "Undone: 2 command(s).")) << run.output;
    EXPECT_TRUE(contains(run.output, "LUPREC = 4")) << run.output;
}

TEST(SvhostUndo, AFailedBlockLeavesNoBlockAndNoEntityBehind) {
    ProgramRun run = interactive("ARXLOAD " + binDir() +
                                 "/watch_module.arx\n"
                                 "CIRCLE 5,5 1\n"
                                 "FIXMARK\n"
                                 "BLOCK B 0,0 \"\" #5 #6 \"\"\n"
                                 "INSERT B 0,0 1 0\n"
                                 "LIST #5 \"\"\n"
                                 "U\n"
                                 "LIST #6 \"\"\n"
                                 "LIST #5 \"\"\n");
    ASSERT_EQ(run.status, 1) << "piped input with failed commands" << run.output;
    // The circle went into the block before the mark refused to follow.
    EXPECT_EQ(count(run.output, "The object 6 cannot follow that change."), 1u) << run.output;
    EXPECT_TRUE(contains(run.output, "There is no block B.")) << run.output;
    const std::vector<std::string> lists = listings(run.output);
    ASSERT_EQ(lists.size(), 2u) << run.output;
    EXPECT_TRUE(contains(lists[0], "CIRCLE")) << "the circle is not erased";
    // The failed BLOCK is no step: U takes back the mark.
    EXPECT_TRUE(contains(run.output, "Nothing was selected.")) << run.output;
    EXPECT_TRUE(contains(lists[1], "CIRCLE")) << lists[1];
}

TEST(SvhostUndo, TheHistoryBelongsToTheOpenDrawing) {
    const std::string drawing = testing::TempDir() + "undo-history.svd";
    std::remove(drawing.c_str());
    ProgramRun run = interactive("CIRCLE 5,5 1\n"
                                 "SAVEAS " +
                                 drawing +
                                 "\n"
                                 "NEW\n"
                                 "U\n"
                                 "SWITCH 1\n"
                                 "U\n"
                                 "REDO\n"
                                 "CLOSE\n"
                                 "No\n"
                                 "OPEN " +
                                 drawing +
                                 "\n"
                                 "U\n"
                                 "LIST #5 \"\"\n");
    ASSERT_EQ(run.status, 1) << "piped input with failed commands" << run.output;
    // The new drawing has nothing to undo; the first one kept its CIRCLE across the save.
    const std::size_t nothing = run.output.find("Nothing to undo.");
    const std::size_t undone = run.output.find("Undone: 1 command(s).");
    ASSERT_NE(nothing, std::string::npos) << run.output;
    ASSERT_NE(undone, std::string::npos) << run.output;
    EXPECT_LT(nothing, undone);
    EXPECT_TRUE(contains(run.output, "Redone: 1 command(s).")) << run.output;
    // Closed and opened again, the drawing starts a new history.
    EXPECT_EQ(count(run.output, "Nothing to undo."), 2u) << run.output;
    ASSERT_EQ(listings(run.output).size(), 1u) << run.output;
    std::remove(drawing.c_str());
}

TEST(SvhostUndo, AnUndoneMoveIsNotHeardByAPersistentReactor) {
    TempScript script("undo-watch.scr", "ARXLOAD " + binDir() +
                                            "/watch_module.arx\n"
                                            "CIRCLE 5,5 1\n"
                                            "WATCH #5\n"
                                            "MOVE #5 \"\" 0,0 1,0\n"
                                            "U\n"
                                            "REDO\n"
                                            "LIST #5 \"\"\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::size_t watching = run.output.find("[watch] watching");
    ASSERT_NE(watching, std::string::npos) << run.output;
    EXPECT_EQ(count(run.output.substr(watching), "[watch] modified"), 1u) << run.output;
    EXPECT_TRUE(contains(run.output, "X=6.0000  Y=5.0000")) << run.output;
    EXPECT_TRUE(contains(run.output, "Reactor:")) << "the watcher came back with the circle";
}

TEST(SvhostUndo, CountsAreWholeAndRedoFollowsAnUndo) {
    ProgramRun run = interactive("CIRCLE 5,5 1\n"
                                 "UNDO 1.5\n"
                                 "REDO\n"
                                 "UNDO 5\n");
    ASSERT_EQ(run.status, 1) << "piped input with failed commands" << run.output;
    EXPECT_TRUE(contains(run.output, "A whole number is required here.")) << run.output;
    EXPECT_TRUE(contains(run.output, "Nothing to redo")) << run.output;
    // More than there is undoes what there is.
    EXPECT_TRUE(contains(run.output, "Undone: 1 command(s).")) << run.output;
}

} // namespace
