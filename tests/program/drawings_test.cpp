#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
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

// A drawing that cannot be read stops a script at its line, as a failed save does.
TEST(SvhostDrawings, DamagedDrawingIsReportedAndStopsTheScript) {
    const std::string good = testing::TempDir() + "good.svd";
    const std::string damaged = testing::TempDir() + "damaged.svd";
    TempScript save("save.scr", "SAVEAS " + good + "\n");
    ASSERT_EQ(runProgram("svhost", "'" + save.path() + "'").status, 0);
    const std::string bytes = readFile(good);
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() / 2);

    TempScript script("damaged.scr", "OPEN " + damaged + "\nGETVAR LUNITS\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Cannot open " + damaged)) << run.output;
    EXPECT_TRUE(contains(run.output, "damaged.scr:1:")) << run.output;
    EXPECT_FALSE(contains(run.output, "LUNITS = 2")) << run.output;
    std::remove(good.c_str());
    std::remove(damaged.c_str());
}

// Opening a file that is open already, by any name, makes that drawing current instead of
// reading a second copy whose SAVE would overwrite the first one's work.
TEST(SvhostDrawings, OpeningAnOpenFileAgainSwitchesToIt) {
    const std::string drawing = testing::TempDir() + "twice.svd";
    const std::string linked = testing::TempDir() + "twice-link.svd";
    std::remove(linked.c_str());
    TempScript save("twice-save.scr", "SAVEAS " + drawing + "\n");
    ASSERT_EQ(runProgram("svhost", "'" + save.path() + "'").status, 0);
    ASSERT_EQ(::symlink(drawing.c_str(), linked.c_str()), 0);
    TempScript script("twice.scr", "OPEN " + drawing +
                                       "\n"
                                       "SETVAR LUPREC 3\n"
                                       "NEW\n"
                                       "OPEN " +
                                       linked +
                                       "\n"
                                       "DRAWINGS\n"
                                       "GETVAR LUPREC\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, drawing + " is open already; it is the current drawing."))
        << run.output;
    EXPECT_TRUE(contains(run.output, "* 2 " + drawing + "\n  3 Drawing2.svd")) << run.output;
    EXPECT_FALSE(contains(run.output, "  4 ")) << run.output;
    EXPECT_TRUE(contains(run.output, "LUPREC = 3")) << run.output;
    std::remove(linked.c_str());
    std::remove(drawing.c_str());
}

// The line of a failed save says what the system said.
TEST(SvhostDrawings, AFailedSaveSaysWhy) {
    const std::string drawing = testing::TempDir() + "readonly.svd";
    TempScript save("readonly-save.scr", "SAVEAS " + drawing + "\n");
    ASSERT_EQ(runProgram("svhost", "'" + save.path() + "'").status, 0);
    ASSERT_EQ(::chmod(drawing.c_str(), 0444), 0);
    TempScript script("readonly.scr", "OPEN " + drawing + "\nSAVE\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(contains(run.output, "Cannot save " + drawing + ": the file is read-only."))
        << run.output;
    ::chmod(drawing.c_str(), 0644);
    std::remove(drawing.c_str());

    // A full file system, where a private one can be mounted.
    const std::string mount = testing::TempDir() + "sv-full";
    std::filesystem::create_directories(mount);
    TempScript full("full.scr", "SAVEAS " + mount + "/full.svd\n");
    ProgramRun filled =
        runCommand("unshare -rm sh -c \"mount -t tmpfs -o size=64k tmpfs '" + mount +
                   "' && (dd if=/dev/zero of='" + mount + "/fill' bs=4k 2>/dev/null; '" + binDir() +
                   "/svhost' '" + full.path() + "')\"");
    std::filesystem::remove(mount);
    if (!contains(filled.output, "Cannot save"))
        GTEST_SKIP() << "no private file system to fill here: " << filled.output;
    EXPECT_EQ(filled.status, 1) << filled.output;
    EXPECT_TRUE(contains(filled.output, "full.svd: no space left on the device.")) << filled.output;
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
