// Start-up of the application module from folders that lack one of its companions. This
// program does not link the module: each test loads the copy it means.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ed/commands.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"
#include "support/bin_dir.h"
#include "support/output_capture.h"
#include "win/modules.h"

namespace {

namespace fs = std::filesystem;

const wchar_t* const kCommands[] = {L"sv_linkcreate", L"sv_linkremove", L"sv_stylemgr",
                                    L"sv_help",       L"sv_about",      L"sv_update",
                                    L"sv_linklist",   L"sv_linkbatch"};

// A folder holding copies of some of the build's shipped files.
class ShippedCopy {
public:
    explicit ShippedCopy(std::initializer_list<const char*> files)
        : m_dir(fs::path(testing::TempDir()) /
                ("sv-startup-" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()))) {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        for (const char* file : files)
            fs::copy_file(fs::path(binDir()) / file, m_dir / file);
    }
    ~ShippedCopy() { fs::remove_all(m_dir); }
    ShippedCopy(const ShippedCopy&) = delete;
    ShippedCopy& operator=(const ShippedCopy&) = delete;

    std::wstring path(const char* file) const { return (m_dir / file).wstring(); }

private:
    fs::path m_dir;
};

bool anyCommandLeft() {
    for (const wchar_t* name : kCommands) {
        if (acedRegCmds->lookupGlobalCmd(name) != nullptr)
            return true;
    }
    return !acedRegCmds->groupCommands(L"Tovrik_Sentavell_Commands").empty();
}

TEST(Startup, WithoutItsResourceModuleTheModuleDoesNotLoad) {
    ShippedCopy copy({"SentavellUi17.arx", "sentavell17.dbx"});
    OutputCapture output;
    EXPECT_FALSE(acrxLoadModule(copy.path("SentavellUi17.arx").c_str(), false));
    EXPECT_STREQ(svLastLoadError(), L"the module refused to attach");
    EXPECT_TRUE(output.text().empty()) << "nothing is printed";
    EXPECT_FALSE(anyCommandLeft());
    EXPECT_FALSE(acrxServiceIsRegistered(L"AcPropertyLinkStyleMgr"));
}

TEST(Startup, WithoutTheDatabaseModuleInitAnswersErrorAndLeavesNothingBehind) {
    // The database module of the build stays mapped for the link; its copy beside the
    // application module is what is missing.
    ShippedCopy copy({"SentavellUi17.arx", "SentavellUi17Res.dll"});
    OutputCapture output;
    EXPECT_FALSE(acrxLoadModule(copy.path("SentavellUi17.arx").c_str(), false));
    const std::wstring expected = L"\nERROR: failed to load module " + copy.path("sentavell17.dbx");
    EXPECT_NE(output.text().find(expected), std::wstring::npos)
        << std::string(output.text().begin(), output.text().end());
    EXPECT_FALSE(anyCommandLeft());
    EXPECT_FALSE(acrxServiceIsRegistered(L"AcPropertyLinkStyleMgr"));
    EXPECT_EQ(acrxClassDictionary()->at(L"AcPropertyLinkStyleMgr"), nullptr);
    EXPECT_EQ(acrxClassDictionary()->at(L"CSentavellEditorReactor"), nullptr);
    EXPECT_FALSE(acrxDynamicLinker()->isModuleLoaded(copy.path("SentavellUi17.arx").c_str()));
}

// The six first, in their order, and the later ones after them.
TEST(Startup, WithBothTheCommandsStandInOrderAndTheServiceIsFound) {
    const std::wstring arx = binDirW() + L"/SentavellUi17.arx";
    ASSERT_TRUE(acrxLoadModule(arx.c_str(), false));
    const std::vector<AcEdCommand*> commands =
        acedRegCmds->groupCommands(L"Tovrik_Sentavell_Commands");
    const wchar_t* const inOrder[] = {L"sv_linkcreate", L"sv_linkremove", L"sv_stylemgr",
                                      L"sv_help",       L"sv_about",      L"sv_update",
                                      L"sv_linklist",   L"sv_linkbatch"};
    ASSERT_EQ(commands.size(), std::size(inOrder));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_STREQ(commands[i]->globalName(), inOrder[i]);
        EXPECT_STREQ(commands[i]->localName(), inOrder[i]);
        EXPECT_EQ(commands[i]->commandFlags(), ACRX_CMD_MODAL);
        EXPECT_EQ(commands[i]->functionCode(), -1);
        EXPECT_EQ(commands[i]->resourceHandle(), nullptr);
    }
    AcRxObject* service = acrxServiceDictionary()->at(L"AcPropertyLinkStyleMgr");
    ASSERT_NE(service, nullptr);
    EXPECT_STREQ(service->isA()->name(), L"AcPropertyLinkStyleMgr");
    AcRxClass* reactorClass =
        AcRxClass::cast(acrxClassDictionary()->at(L"CSentavellEditorReactor"));
    ASSERT_NE(reactorClass, nullptr);
    EXPECT_STREQ(reactorClass->myParent()->name(), L"AcEditorReactor");
    EXPECT_EQ(reactorClass->create(), nullptr);

    // The resource module and the database module came with it.
    EXPECT_NE(GetModuleHandleW((binDirW() + L"/SentavellUi17Res.dll").c_str()), nullptr);
    EXPECT_TRUE(acrxDynamicLinker()->isModuleLoaded((binDirW() + L"/sentavell17.dbx").c_str()));

    ASSERT_TRUE(acrxUnloadModule(arx.c_str(), false));
    EXPECT_FALSE(anyCommandLeft());
    EXPECT_EQ(acrxServiceDictionary()->at(L"AcPropertyLinkStyleMgr"), nullptr);
    EXPECT_EQ(acrxClassDictionary()->at(L"CSentavellEditorReactor"), nullptr);
    EXPECT_EQ(acrxClassDictionary()->at(L"AcPropertyLinkStyleMgr"), nullptr);
}

} // namespace
