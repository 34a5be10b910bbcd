#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(Svhost, HelpVersionAndBadCommandLines) {
    ProgramRun help = runProgram("svhost", "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.output, "usage: svhost"));

    ProgramRun version = runProgram("svhost", "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(contains(version.output, "svhost 17."));

    // Each module loaded, those the first one loads included, with its file version.
    version = runProgram("svhost", "--version --load SentavellUi17.arx");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_TRUE(contains(version.output, "SentavellUi17.arx      17.0.0.0\n")) << version.output;
    EXPECT_TRUE(contains(version.output, "sentavell17.dbx        17.0.0.0\n")) << version.output;
    EXPECT_TRUE(contains(version.output, "SentavellUi17Res.dll   17.0.0.0\n")) << version.output;
    version = runProgram("svhost", "--version --load no_such_module.arx");
    EXPECT_EQ(version.status, 1);
    EXPECT_TRUE(contains(version.output, "cannot load no_such_module.arx")) << version.output;

    EXPECT_EQ(runProgram("svhost", "--frobnicate").status, 2);
    EXPECT_EQ(runProgram("svhost", "--load").status, 2);
    EXPECT_EQ(runProgram("svhost", "a.scr b.scr").status, 2);
    EXPECT_EQ(runProgram("svhost", "/no/such/script.scr").status, 1);
}

TEST(Svhost, ScriptLoadsAndUnloadsModulesInReverseOrderAtTheEnd) {
    TempScript script("load.scr", "ARXLOAD " + binDir() +
                                      "/probe_a.arx\n"
                                      "_arxload\n" +
                                      binDir() +
                                      "/probe_b.arx\n"
                                      "QUIT\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "[probe_a] OnInitApp"));
    EXPECT_TRUE(contains(run.output, "[probe_b] OnInitApp"));
    EXPECT_LT(run.output.find("[probe_b] OnUnloadApp"), run.output.find("[probe_a] OnUnloadApp"));
}

TEST(Svhost, ModuleGivenOnTheCommandLineIsLoadedFirst) {
    TempScript script("unload.scr", "ARXUNLOAD probe_a.arx\n");
    ProgramRun run =
        runProgram("svhost", "--load '" + binDir() + "/probe_a.arx' '" + script.path() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_LT(run.output.find("[probe_a] OnInitApp"), run.output.find("[probe_a] OnUnloadApp"));
    EXPECT_TRUE(contains(run.output, "probe_a.arx unloaded."));
}

TEST(Svhost, ModuleThatCannotLoadIsReportedAndFails) {
    ProgramRun run = runProgram("svhost", "--load '" + binDir() + "/probe_refuse.arx'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "Unable to load")) << run.output;

    TempScript script("missing.scr", "ARXLOAD /no/such/module.arx\n");
    ProgramRun scripted = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(scripted.status, 1);
    EXPECT_TRUE(contains(scripted.output, "file not found")) << scripted.output;
    EXPECT_TRUE(contains(scripted.output, "missing.scr:1:")) << scripted.output;
}

TEST(Svhost, UnknownCommandStopsAScriptWithItsLineNumber) {
    TempScript script("unknown.scr", "HELP\n\nFROBNICATE\nHELP\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "Unknown command \"FROBNICATE\"")) << run.output;
    EXPECT_TRUE(contains(run.output, "unknown.scr:3:")) << run.output;
}

// Piped input is no person who can retry: its failures end in the exit status, as a script's do.
TEST(Svhost, PipedInputGoesOnAfterAnErrorAndExitsWithOne) {
    ProgramRun run = runProgram("svhost", "<<'EOF'\nFROBNICATE\nHELP\nEOF");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.output, "Unknown command"));
    EXPECT_TRUE(contains(run.output, "ARXLOAD"));
}

// TIME shows the clock and the time in session, which scripts use to time their steps: it only
// ever grows.
TEST(Svhost, TimeShowsTheClockAndAGrowingTimeInSession) {
    TempScript script("time.scr", "TIME\nHELP\nTIME\n");
    ProgramRun run = runProgram("svhost", "'" + script.path() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::regex clock(R"(Current time: +\w{3} \d{2} \w{3} \d{4} \d{2}:\d{2}:\d{2}\.\d{3})");
    EXPECT_TRUE(std::regex_search(run.output, clock)) << run.output;
    const std::regex session(R"(Time in session: (\d+\.\d{6}) s)");
    std::vector<double> times;
    for (std::sregex_iterator it(run.output.begin(), run.output.end(), session), end; it != end;
         ++it)
        times.push_back(std::stod((*it)[1]));
    ASSERT_EQ(times.size(), 2u) << run.output;
    EXPECT_GT(times[0], 0.0);
    EXPECT_LE(times[0], times[1]);
    EXPECT_TRUE(contains(run.output, "  TIME        shows the clock")) << run.output;
}

} // namespace
