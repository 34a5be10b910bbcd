// The application object: the menu loaded by "C:sv_init", the command transaction, the commands
// still waiting for their dialogs, help, the string table and the version resources.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "ModuleVersion.h"
#include "SentavellUiApp.h"
#include "arx/arx_fixture.h"
#include "db/transaction.h"
#include "ed/commands.h"
#include "ed/editor.h"
#include "ed/lisp.h"
#include "ed/menus.h"
#include "ed/sysvars.h"
#include "resource.h"
#include "win/modules.h"

namespace {

using namespace arxtest;
using namespace linktest;

short shortVar(const wchar_t* name) {
    resbuf value{};
    EXPECT_EQ(acedGetVar(name, &value), RTNORM);
    return value.resval.rint;
}

void setShortVar(const wchar_t* name, short number) {
    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = number;
    ASSERT_EQ(acedSetVar(name, &value), RTNORM);
}

// What the system variables were whenever a command started.
class CommandWatch : public AcEditorReactor {
public:
    CommandWatch() { acedEditor->addReactor(this); }
    ~CommandWatch() override { acedEditor->removeReactor(this); }
    void commandWillStart(const wchar_t* name) override {
        seen << name << L" cmdecho=" << shortVar(L"cmdecho") << L" cmddia=" << shortVar(L"cmddia")
             << L";";
    }
    std::wostringstream seen;
};

class MenuInit : public ArxTest {
protected:
    // The host keeps its menu groups for the whole process; each case starts without ours.
    void TearDown() override {
        svUnloadMenuGroup(L"SENTAVELL");
        ArxTest::TearDown();
    }

    // Runs (C:sv_init) as queued by opening the drawing, or evaluated again by hand.
    void runInit(short cmdecho, short cmddia, bool queued = true) {
        setShortVar(L"cmdecho", cmdecho);
        setShortVar(L"cmddia", cmddia);
        CommandWatch watch;
        if (queued)
            svEvaluateQueuedExpressions();
        else
            EXPECT_TRUE(svEvaluateLisp(L"(C:sv_init)"));
        seen = watch.seen.str();
        EXPECT_EQ(shortVar(L"cmdecho"), cmdecho);
        EXPECT_EQ(shortVar(L"cmddia"), cmddia);
    }
    std::wstring seen;
};

TEST_F(MenuInit, LoadsTheMenuQuietlyAndRestoresTheVariables) {
    ASSERT_FALSE(acedIsMenuGroupLoaded(L"SENTAVELL"));
    runInit(1, 1);
    EXPECT_EQ(seen, L"MENULOAD cmdecho=0 cmddia=0;");
    ASSERT_TRUE(acedIsMenuGroupLoaded(L"SENTAVELL"));
    std::vector<std::wstring> macros;
    for (const SvMenuItem& item : svMenuGroupItems(L"SENTAVELL"))
        macros.push_back(item.macro);
    const std::vector<std::wstring> expected = {
        L"^C^Csv_linkcreate", L"^C^Csv_linkremove", L"^C^Csv_stylemgr", L"^C^Csv_help",
        L"^C^Csv_about",      L"^C^Csv_update",     L"^C^Csv_linklist", L"^C^Csv_linkbatch"};
    EXPECT_EQ(macros, expected);
}

TEST_F(MenuInit, VariablesThatWereNotOneComeBackAsTheyWere) {
    runInit(0, 1);
    EXPECT_EQ(seen, L"MENULOAD cmdecho=0 cmddia=0;");
    ASSERT_TRUE(svUnloadMenuGroup(L"SENTAVELL"));
    runInit(1, 0, false);
    EXPECT_EQ(seen, L"MENULOAD cmdecho=0 cmddia=0;");
    ASSERT_TRUE(svUnloadMenuGroup(L"SENTAVELL"));
    runInit(0, 0, false);
    EXPECT_EQ(seen, L"MENULOAD cmdecho=0 cmddia=0;");
}

TEST_F(MenuInit, WithTheMenuLoadedNothingChangesAndNoCommandRuns) {
    std::wstring reason;
    ASSERT_TRUE(svLoadMenuFile((binDirW() + L"/sv17.cui").c_str(), reason)) << reason;
    runInit(1, 0);
    EXPECT_EQ(seen, L"");
    runInit(0, 1, false);
    EXPECT_EQ(seen, L"");
}

TEST_F(MenuInit, EachDrawingGetsTheFunctionUntilTheModuleGoes) {
    newDrawing();
    svEvaluateQueuedExpressions();
    EXPECT_TRUE(svEvaluateLisp(L"(C:sv_init)"));
    ASSERT_TRUE(acrxUnloadModule(arxPath().c_str(), false));
    EXPECT_FALSE(svEvaluateLisp(L"(C:sv_init)"));
}

// --- the command transaction -------------------------------------------------------------------

AcDbObjectId g_text;
bool g_answer = true;

bool writeText() {
    setText(g_text, L"changed");
    return g_answer;
}

bool writeAndThrow() {
    setText(g_text, L"changed");
    throw std::runtime_error("body failed");
}

class Wrapper : public ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        g_text = addText(db, L"before");
    }
    int depth() const { return doc->transactionManager()->numActiveTransactions(); }
};

TEST_F(Wrapper, TrueKeepsTheBodysWork) {
    g_answer = true;
    EXPECT_TRUE(svRunCommandBody(&writeText));
    EXPECT_EQ(textOf(g_text), L"changed");
    EXPECT_EQ(depth(), 0);
}

TEST_F(Wrapper, FalseUndoesTheBodysWork) {
    g_answer = false;
    EXPECT_FALSE(svRunCommandBody(&writeText));
    EXPECT_EQ(textOf(g_text), L"before");
    EXPECT_EQ(depth(), 0);
}

TEST_F(Wrapper, AThrowUndoesTheWorkAndEndsQuietly) {
    EXPECT_NO_THROW(EXPECT_FALSE(svRunCommandBody(&writeAndThrow)));
    EXPECT_EQ(textOf(g_text), L"before");
    EXPECT_EQ(depth(), 0);
    EXPECT_TRUE(output.text().empty());
}

// --- help ------------------------------------------------------------------------------------

class Help : public ArxTest {
protected:
    void SetUp() override {
        unsetenv("BROWSER");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        ArxTest::SetUp();
    }
};

TEST_F(Help, WithoutABrowserTheTopicIsPrintedOnTheCommandLine) {
    EXPECT_TRUE(svRunCommand(L"sv_help"));
    EXPECT_TRUE(printed(L"Sentavell: live labels\n\nSentavell keeps labels"))
        << output.text().size();
    EXPECT_TRUE(printed(L"  - sv_linkremove: select sources"));
    EXPECT_FALSE(printed(L"<")) << "no markup reaches the command line";

    output.clear();
    CSentavellUiApp::Get()->ShowHelp(IDH_STYLE_MANAGER);
    EXPECT_TRUE(printed(L"Link styles of the drawing"));
    output.clear();
    CSentavellUiApp::Get()->ShowHelp(999);
    EXPECT_TRUE(output.text().empty()) << "an unknown topic is silent";
}

// Each command after the first six has its line on the overview and a page of its own.
TEST_F(Help, TheLaterCommandsHaveTheirPages) {
    EXPECT_TRUE(svRunCommand(L"sv_help"));
    EXPECT_TRUE(printed(L"  - sv_linklist: list the links"));
    EXPECT_TRUE(printed(L"  - sv_linkbatch: link many sources"));
    output.clear();
    CSentavellUiApp::Get()->ShowHelp(IDH_LINK_LIST);
    EXPECT_TRUE(printed(L"Listing and repairing links\n"));
    EXPECT_TRUE(printed(L"stale: the label shows something else"));
    output.clear();
    CSentavellUiApp::Get()->ShowHelp(IDH_LINK_BATCH);
    EXPECT_TRUE(printed(L"Linking many labels at once\n"));
    EXPECT_TRUE(printed(L"One UNDO takes back every link"));
}

// Runs sv_help with a browser that notes the page it was given in `opened`, the help's temporary
// folder below `dir`; answers the page.
std::string helpPageOpenedBy(const std::string& dir, const std::string& opened) {
    const std::string browser = dir + "/browser";
    std::ofstream(browser) << "#!/bin/sh\necho \"$1\" > '" << opened << ".tmp'\nmv '" << opened
                           << ".tmp' '" << opened << "'\n";
    chmod(browser.c_str(), 0700);
    setenv("BROWSER", browser.c_str(), 1);
    setenv("TMPDIR", dir.c_str(), 1);
    EXPECT_TRUE(svRunCommand(L"sv_help"));
    std::string page;
    for (int i = 0; i < 100 && !std::getline(std::ifstream(opened), page); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return page;
}

TEST_F(Help, ABrowserThatCannotStartIsNamedAndThePageComesToTheCommandLine) {
    for (const char* browser : {"/nonexistent/browser %s", "no-such-browser-here"}) {
        output.clear();
        setenv("BROWSER", browser, 1);
        EXPECT_TRUE(svRunCommand(L"sv_help"));
        const std::wstring wide(browser, browser + std::strlen(browser));
        EXPECT_NE(output.text().find(L"The help browser \"" + wide + L"\" cannot be started"),
                  std::wstring::npos)
            << browser;
        EXPECT_NE(output.text().find(L"Sentavell keeps labels in step"), std::wstring::npos);
    }
    unsetenv("BROWSER");
}

TEST_F(Help, WithABrowserTheTopicOpensThere) {
    const std::string dir = testing::TempDir() + "sv-browser-" + std::to_string(getpid());
    mkdir(dir.c_str(), 0700);
    const std::string opened = dir + "/opened";
    const std::string page = helpPageOpenedBy(dir, opened);
    ASSERT_NE(page.find("/overview.html"), std::string::npos) << page;
    std::stringstream html;
    html << std::ifstream(page).rdbuf();
    EXPECT_NE(html.str().find("<h1>Sentavell: live labels</h1>"), std::string::npos);
    EXPECT_TRUE(output.text().empty());
    std::filesystem::remove_all(dir);
}

// A folder someone else prepared where the help used to go, with a link to a file of the user's:
// the page goes to a folder of its own and the linked file stays as it was.
TEST_F(Help, APlantedFolderAndLinkAreLeftAlone) {
    const std::string dir = testing::TempDir() + "sv-planted-" + std::to_string(getpid());
    const std::string planted = dir + "/sentavell-help-" + std::to_string(getuid());
    std::filesystem::create_directories(planted);
    const std::string victim = dir + "/victim", opened = dir + "/opened";
    std::ofstream(victim) << "precious";
    std::filesystem::create_symlink(victim, planted + "/overview.html");
    const std::string page = helpPageOpenedBy(dir, opened);
    ASSERT_NE(page.find("/overview.html"), std::string::npos) << page;
    // The folder itself, not a name beginning alike: a folder of its own may be named
    // "sentavell-help-" and random letters that begin with the user's number.
    EXPECT_NE(std::filesystem::path(page).parent_path(), std::filesystem::path(planted)) << page;
    struct stat file {
    }, folder{};
    ASSERT_EQ(lstat(page.c_str(), &file), 0);
    EXPECT_TRUE(S_ISREG(file.st_mode));
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    ASSERT_EQ(lstat(std::filesystem::path(page).parent_path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    std::stringstream kept;
    kept << std::ifstream(victim).rdbuf();
    EXPECT_EQ(kept.str(), "precious");
    std::filesystem::remove_all(dir);
}

// --- strings and versions ----------------------------------------------------------------------

TEST_F(ArxTest, EveryNamedStringIsInTheTable) {
    std::vector<UINT> ids;
    for (UINT id = 1; id <= 15; ++id)
        ids.push_back(id);
    for (UINT id = 18; id <= 35; ++id)
        ids.push_back(id);
    for (UINT id = 40; id <= 50; ++id)
        ids.push_back(id);
    for (UINT id : ids)
        EXPECT_FALSE(svResString()(id).IsEmpty()) << id;
    EXPECT_STREQ(svResString()(IDS_SOURCE_KEYWORDS), L"Style Model Paper eXit");
    EXPECT_STREQ(svResString()(IDS_LABEL_KEYWORDS), L"Model Paper Self");
    EXPECT_TRUE(svResString()(16).IsEmpty());
    // Whatever resource handle is current, the module's own table answers.
    acDocManager->pushResourceHandle(nullptr);
    EXPECT_STREQ(svResString()(IDS_LINKS_FOUND), L"\nLinks found: %d.");
    acDocManager->popResourceHandle();
}

TEST_F(ArxTest, VersionsComeFromTheModulesOwnResources) {
    CModuleVersion arx;
    arx.ReadModule(GetModuleHandleW(arxPath().c_str()));
    EXPECT_STREQ(arx.m_strFileVersion, L"17.0.0.0");
    EXPECT_STREQ(arx.m_strProductVersion, L"17.0.0.0");
    EXPECT_TRUE(arx.m_strValue.IsEmpty());

    CModuleVersion res;
    res.Read((binDirW() + L"/SentavellUi17Res.dll").c_str(), L"040904b0", L"ProductName");
    EXPECT_STREQ(res.m_strValue, L"Sentavell");

    CModuleVersion none;
    none.ReadModule(nullptr);
    none.Read((binDirW() + L"/no-such-module.dll").c_str(), L"040904b0", L"ProductName");
    EXPECT_TRUE(none.m_strFileVersion.IsEmpty());
    EXPECT_TRUE(none.m_strValue.IsEmpty());
}

} // namespace
