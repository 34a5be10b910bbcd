#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SvhostDrawings, SaveCloseReopenAndSwitch) {
    const std::string drawing = testing::TempDir() + "saved.svd";
    std::remove(drawing.c_str());
    TempScript script("drawings.scr", "SETVAR LUPREC 2\n"
                                      "SAVEAS " +
                                          drawing +
                                          "\n"
                                          "NEW\n"
                                          "DRAWINGS\n"
                                          "SWITCH 1\n"
                                          "CLOSE\n"
                                          "CLOSE\n"
                                          "OPEN " +
                                          drawing +
                                          "\n"
                                          "GETVAR luprec\n"
                                          "DRAWINGS\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Saved " + drawing)) << run.output;
    EXPECT_TRUE(contains(run.output, "  1 " + drawing + "\n* 2 Drawing2.svd")) << run.output;
    EXPECT_TRUE(contains(run.output, "luprec = 2")) << run.output;
    EXPECT_TRUE(contains(run.output, "* 1 " + drawing + "\n")) << run.output;
    EXPECT_FALSE(readFile(drawing).empty());
    std::remove(drawing.c_str());
}

TEST(SvhostDrawings, DamagedDrawingIsReportedAndTheSessionGoesOn) {
    const std::string good = testing::TempDir() + "good.svd";
    const std::string damaged = testing::TempDir() + "damaged.svd";
    TempScript save("save.scr", "SAVEAS " + good + "\n");
    ASSERT_EQ(runProgram("svhost", "'" + save.path() + "'").status, 0);
    const std::string bytes = readFile(good);
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() / 2);

    TempScript script("damaged.scr", "OPEN " + damaged + "\nGETVAR LUNITS\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Cannot open " + damaged)) << run.output;
    EXPECT_TRUE(contains(run.output, "LUNITS = 2")) << run.output;
    std::remove(good.c_str());
    std::remove(damaged.c_str());
}

TEST(SvhostDrawings, BadVariablesStopAScript) {
    TempScript unknown("unknown_var.scr", "GETVAR NOSUCHVAR\nGETVAR LUNITS\n");
    ProgramRun run = runProgram("svhost", "'" + unknown.path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "unknown_var.scr:1:")) << run.output;

    TempScript range("range.scr", "SETVAR LUNITS 9\n");
    run = runProgram("svhost", "'" + range.path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "LUNITS keeps its value")) << run.output;

    // A bad value fails its own line and leaves the next lines to be read as commands.
    TempScript bad("bad_value.scr", "SETVAR LUNITS abc\nGETVAR LUNITS\n");
    run = runProgram("svhost", "'" + bad.path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "bad_value.scr:1: command SETVAR failed")) << run.output;
    EXPECT_FALSE(contains(run.output, "LUNITS = ")) << run.output;
    run = runProgram("svhost", "<<'EOF'\nSETVAR LUNITS abc\nGETVAR LUNITS\nEOF");
    EXPECT_EQ(run.status, 1) << "piped input";
    EXPECT_TRUE(contains(run.output, "LUNITS = 2")) << run.output;
}

} // namespace
