// What HELP lists, aliases from the shipped file and the user's, and the module commands' messages.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/run_program.h"

namespace {

// Built piece by piece: g++ 12 at -O3 flags `"literal" + temporary` with a false -Wrestrict.
std::string between(const char* before, const std::string& word, const char* after) {
    std::string text(before);
    text += word;
    text += after;
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ConfiguredHost : public testing::Test {
protected:
    void SetUp() override {
        m_config = testing::TempDir() + "sv-config-" + std::to_string(getpid());
        std::filesystem::create_directories(m_config);
    }
    void TearDown() override { std::filesystem::remove_all(m_config); }

    ProgramRun run(const std::string& lines) {
        TempScript script("commands-" + std::to_string(getpid()) + ".scr", lines);
        return runCommand("SVHOST_CONFIG_DIR='" + m_config + "' '" + binDir() + "/svhost' '" +
                          script.path() + "'");
    }

    std::string m_config;
};

TEST_F(ConfiguredHost, ShippedAliasesAndTheUsersOwnWhichWin) {
    std::ofstream(m_config + "/svhost.pgp") << "; mine\nC, *COPY\nZZ, *CIRCLE\nbad line\n";
    ProgramRun run = this->run("L 0,0 @5<45 \"\"\n"
                               "ZZ 10,0 1\n"
                               "C L \"\" 0,0 1,0\n"
                               "LI ALL \"\"\n");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "LINE 5 created.")) << run.output;
    EXPECT_TRUE(contains(run.output, "CIRCLE 6 created.")) << run.output;
    EXPECT_TRUE(contains(run.output, "CIRCLE 7 created.")) << "C copied the last object";
    EXPECT_TRUE(contains(run.output, "to point:         X=3.5355  Y=3.5355")) << run.output;
    EXPECT_TRUE(contains(run.output, "3 object(s) listed.")) << run.output;
    EXPECT_TRUE(contains(run.output, "svhost.pgp:4: not ALIAS, *COMMAND")) << run.output;
}

TEST_F(ConfiguredHost, EveryAliasOfTheShippedFileNamesACommandAndHelpListsThem) {
    ProgramRun run = this->run("HELP\n");
    ASSERT_EQ(run.status, 0) << run.output;
    std::ifstream shipped(binDir() + "/svhost.pgp");
    std::string line;
    int aliases = 0;
    while (std::getline(shipped, line)) {
        if (line.empty() || line[0] == ';')
            continue;
        const std::string alias = line.substr(0, line.find(','));
        const std::string command = line.substr(line.find('*') + 1);
        EXPECT_TRUE(contains(run.output, between("\n  ", command, " ")))
            << command << " is no command";
        EXPECT_TRUE(contains(run.output, alias + std::string(6 - alias.size(), ' ') + command))
            << line;
        ++aliases;
    }
    for (const char* alias : {"L", "PL", "C", "A", "EL", "T", "MT", "B", "I", "M", "CO", "RO", "SC",
                              "E", "LI", "DLI", "DAL", "LE"})
        EXPECT_TRUE(contains(run.output, between("\n  ", alias, " ")) ||
                    contains(run.output, between(" ", alias, " ")))
            << alias;
    EXPECT_GE(aliases, 18);
    EXPECT_TRUE(contains(run.output, "L (the last object), P (the previous")) << run.output;
    EXPECT_TRUE(contains(run.output, "Modules add their own commands once loaded")) << run.output;
}

TEST_F(ConfiguredHost, HelpAfterArxloadListsTheAddOnsCommandsWithTheirGroup) {
    ProgramRun run = this->run("ARXLOAD " + binDir() + "/SentavellUi17.arx\nHELP\n");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* command : {"sv_linkcreate", "sv_linkremove", "sv_stylemgr", "sv_help",
                                "sv_about", "sv_update", "sv_linklist", "sv_linkbatch"})
        EXPECT_TRUE(contains(run.output, std::string("\n  ") + command + " ")) << command;
    const std::size_t heading = run.output.find("Commands of the loaded modules:");
    ASSERT_NE(heading, std::string::npos) << run.output;
    EXPECT_LT(heading, run.output.find("sv_linkcreate"));
    EXPECT_TRUE(contains(run.output, " group ")) << run.output;
}

TEST_F(ConfiguredHost, ModulesLoadedTwiceAndUnloadedByTheirBareName) {
    const std::string probe = binDir() + "/probe_a.arx";
    ProgramRun run = this->run("ARXLOAD " + probe + "\nARXLOAD " + probe +
                               "\nARXUNLOAD probe_a\nARXUNLOAD probe_a.arx\n");
    EXPECT_EQ(run.status, 1) << "the second unload finds nothing" << run.output;
    EXPECT_TRUE(contains(run.output, probe + " is already loaded.")) << run.output;
    EXPECT_EQ(run.output.find("[probe_a] OnInitApp\n"), run.output.rfind("[probe_a] OnInitApp\n"));
    EXPECT_TRUE(contains(run.output, "probe_a.arx unloaded.")) << run.output;
    EXPECT_TRUE(contains(run.output, "probe_a.arx is not loaded.")) << run.output;
    EXPECT_TRUE(contains(run.output, "commands-" + std::to_string(getpid()) + ".scr:4:"))
        << run.output;
}

TEST_F(ConfiguredHost, AScriptGivenOnTheCommandLineIsRunAndADrawingIsOpened) {
    const std::string drawing = m_config + "/given.svd";
    ASSERT_EQ(this->run("CIRCLE 1,1 1\nSAVEAS " + drawing + "\n").status, 0);
    ProgramRun opened =
        runCommand("echo 'LIST ALL \"\"' | '" + binDir() + "/svhost' '" + drawing + "'");
    EXPECT_EQ(opened.status, 0) << opened.output;
    EXPECT_TRUE(contains(opened.output, "1 object(s) listed.")) << opened.output;

    // A damaged drawing is recognised still, and does not run as a script.
    std::ofstream(drawing, std::ios::binary | std::ios::app) << "";
    std::filesystem::resize_file(drawing, 20);
    ProgramRun damaged = runCommand("'" + binDir() + "/svhost' '" + drawing + "' </dev/null");
    EXPECT_EQ(damaged.status, 1) << damaged.output;
    EXPECT_TRUE(contains(damaged.output, "Cannot open " + drawing)) << damaged.output;
    EXPECT_FALSE(contains(damaged.output, "Unknown command")) << damaged.output;
}

} // namespace
