// The about box and its hyperlink, driven as a user drives them: through the command, the
// pointer and the message box, with openers and handlers that record what they were given.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "../host/user/scripted_screen.h"
#include "ModuleVersion.h"
#include "SentavellProduct.h"
#include "SentavellUiApp.h"
#include "arx_fixture.h"
#include "dialogs/CHyperLink.h"
#include "ed/commands.h"
#include "gdi/surface.h"
#include "gdi/syscolors.h"
#include "resource.h"
#include "shell/registry.h"

namespace arxtest {
namespace {

// A folder of its own for the registry and the test programs, and no browser unless a test
// names one.
class AboutTest : public ArxTest {
protected:
    void SetUp() override {
        // Not TempDir: other tests point TMPDIR at folders of their own.
        std::string pattern = "/tmp/sv-about-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::filesystem::create_directory(m_folder + "/bin");
        for (const char* name : {"BROWSER", "DISPLAY", "WAYLAND_DISPLAY", "XDG_CONFIG_HOME"})
            unsetenv(name);
        setenv("SVHOST_CONFIG_DIR", (m_folder + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (m_folder + "/data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (m_folder + "/nowhere").c_str(), 1);
        m_path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
        setenv("PATH", (m_folder + "/bin:/usr/bin:/bin").c_str(), 1);
        svRegistryForget();
        ArxTest::SetUp();
    }
    void TearDown() override {
        ArxTest::TearDown();
        setenv("PATH", m_path.c_str(), 1);
        svRegistryForget();
        std::filesystem::remove_all(m_folder);
    }

    std::string log() const { return m_folder + "/arguments"; }

    // A program that writes its arguments, one a line, to log().
    std::string recorder(const std::string& name) const {
        const std::string path = m_folder + "/bin/" + name;
        writeFile(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log() +
                            ".part'\nmv '" + log() + ".part' '" + log() + "'\n");
        chmod(path.c_str(), 0755);
        return path;
    }

    // The desktop's default browser, known only as the handler of web pages.
    void registerHandler(const std::string& program) const {
        const std::string mime = m_folder + "/bin/xdg-mime";
        writeFile(mime, "#!/bin/sh\necho viewer.desktop\n");
        chmod(mime.c_str(), 0755);
        writeFile(m_folder + "/data/applications/viewer.desktop",
                  "[Desktop Entry]\nName=Viewer\nExec=" + program + " --new %u\n");
        svRegistryForget();
    }

    std::optional<std::vector<std::string>> recorded() const {
        for (int i = 0; i < 500; ++i) {
            if (std::filesystem::exists(log())) {
                std::ifstream in(log());
                std::vector<std::string> lines;
                for (std::string line; std::getline(in, line);)
                    lines.push_back(line);
                return lines;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::nullopt;
    }

    static void writeFile(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

private:
    std::string m_folder;
    std::string m_path;
};

// --- the about box ---------------------------------------------------------------------------

TEST_F(AboutTest, ShowsTheBoldTitleTheModulesVersionAndTheProductsAddress) {
    ScriptedScreen screen;
    CString version, linkText, url;
    LONG weight = 0;
    screen.then([&](HWND dialog) {
        CWnd::FromHandle(GetDlgItem(dialog, IDC_ABOUT_VERSION))->GetWindowText(version);
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        CWnd::FromHandle(link)->GetWindowText(linkText);
        if (auto* hyperLink = dynamic_cast<CHyperLink*>(CWnd::FromHandlePermanent(link)))
            url = hyperLink->url();
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(
                       SendMessageW(GetDlgItem(dialog, IDC_ABOUT_TITLE), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        weight = font.lfWeight;
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_TRUE(svRunCommand(L"sv_about"));
    EXPECT_TRUE(screen.finished());

    CModuleVersion expected;
    expected.Read(arxPath().c_str());
    EXPECT_EQ(std::wstring(version), std::wstring(expected.m_strProductVersion));
    EXPECT_EQ(std::wstring(version), L"17.0.0.0");
    EXPECT_EQ(weight, FW_BOLD);
    // The template's text stays; the address is the product's own.
    EXPECT_EQ(std::wstring(linkText), L"Visit the Sentavell web site");
    EXPECT_EQ(std::wstring(url), SENTAVELL_PRODUCT_WEB_ADDRESS);
}

// --- the control -----------------------------------------------------------------------------

class LinkTest : public AboutTest {
protected:
    void SetUp() override {
        AboutTest::SetUp();
        ASSERT_TRUE(parent.CreateEx(0, L"Static", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 120),
                                    nullptr, 0));
    }
    void TearDown() override {
        parent.DestroyWindow();
        AboutTest::TearDown();
    }

    // A static of the parent made into a link.
    HWND makeLink(CHyperLink& link, const wchar_t* text, DWORD style, const CRect& rect) {
        HWND window =
            CreateWindowExW(0, L"Static", text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                            rect.Width(), rect.Height(), parent, nullptr, nullptr, nullptr);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        EXPECT_TRUE(link.SubclassWindow(window));
        return window;
    }

    CRect placeOf(HWND window) const {
        CRect rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Whether the link's rectangle shows the colour anywhere.
    bool shows(HWND link, COLORREF colour) {
        SvSurface* surface = svSnapshotWindow(parent);
        const CRect rect = placeOf(link);
        bool found = false;
        for (int y = rect.top; y < rect.bottom && !found; ++y)
            for (int x = rect.left; x < rect.right && !found; ++x)
                found = svSurfacePixel(surface, x, y) == colour;
        svDestroySurface(surface);
        return found;
    }

    void click(HWND link) {
        svInputClick(link);
        pumpMessages();
        svInputMouseMove(POINT{300, 110});
        pumpMessages();
    }

    // A step that keeps the text of the message box and closes it.
    static ScriptedScreen::Step readAndCloseMessageBox(std::wstring& shown) {
        return [&shown](HWND box) {
            wchar_t text[512] = {};
            GetWindowTextW(GetDlgItem(box, SV_MSGBOX_TEXT_ID), text, 512);
            shown = text;
            svInputKeyPress(VK_RETURN);
        };
    }

    CWnd parent;
};

TEST_F(LinkTest, TextAndAddressStandInForEachOther) {
    CHyperLink fromText;
    makeLink(fromText, L"Documentation", 0, CRect(5, 5, 200, 25));
    EXPECT_EQ(std::wstring(fromText.url()), L"Documentation");

    CHyperLink fromAddress;
    fromAddress.setUrl(L"https://sentavell.example/docs");
    HWND window = makeLink(fromAddress, L"", 0, CRect(5, 40, 200, 60));
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_EQ(std::wstring(text), L"https://sentavell.example/docs");
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & SS_NOTIFY);
}

TEST_F(LinkTest, FitsItsTextKeepingTheRightEdgeOrTheCentre) {
    CHyperLink right;
    const CRect rightBox = placeOf(makeLink(right, L"Right", SS_RIGHT, CRect(10, 10, 210, 40)));
    EXPECT_EQ(rightBox.right, 210);
    EXPECT_GT(rightBox.left, 10);
    EXPECT_EQ(rightBox.top, 10);
    EXPECT_LT(rightBox.Height(), 30);

    CHyperLink centre;
    const CRect centreBox = placeOf(makeLink(centre, L"Centre", SS_CENTER, CRect(10, 50, 210, 80)));
    EXPECT_GT(centreBox.left, 10);
    EXPECT_EQ(centreBox.left - 10, 210 - centreBox.right);
    EXPECT_LT(centreBox.Width(), 200);
}

TEST_F(LinkTest, PaintsNormalHoveredAndVisitedColours) {
    setenv("BROWSER", recorder("opener").c_str(), 1);
    CHyperLink link;
    link.setUrl(L"https://sentavell.example/a b?c=$(id)");
    HWND window = makeLink(link, L"Link", 0, CRect(10, 10, 200, 40));
    EXPECT_TRUE(shows(window, RGB(0, 0, 238)));

    svInputMouseMove(svWindowCentre(window));
    pumpMessages();
    EXPECT_EQ(GetCapture(), window);
    // The hand of the Windows folder's help program, not the arrow.
    EXPECT_NE(GetCursor(), nullptr);
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(shows(window, GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_FALSE(shows(window, RGB(0, 0, 238)));

    click(window);
    EXPECT_EQ(recorded(), (std::vector<std::string>{"https://sentavell.example/a b?c=$(id)"}));
    EXPECT_TRUE(link.visited());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(shows(window, RGB(85, 26, 139)));
}

TEST_F(LinkTest, AFailedClickBeepsExplainsAndStaysUnvisited) {
    setenv("PATH", "", 1);
    CHyperLink link;
    HWND window = makeLink(link, L"https://sentavell.example/", 0, CRect(10, 10, 200, 40));
    ScriptedScreen screen;
    std::wstring shown;
    screen.then(readAndCloseMessageBox(shown));
    const UINT beeps = svBeepCount();
    click(window);
    // The link's own beep, then the message box's.
    EXPECT_EQ(svBeepCount(), beeps + 2);
    EXPECT_EQ(svLastBeep(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(shown, L"Unable to open hyperlink:\n\nThere is no application associated\nwith "
                     L"the given filename extension.");
    EXPECT_FALSE(link.visited());
    EXPECT_TRUE(shows(window, RGB(0, 0, 238)));
}

TEST_F(LinkTest, WithoutAnOpenerTheWebPageHandlerGetsTheAddressLast) {
    registerHandler(recorder("viewer"));
    CHyperLink link;
    HWND window = makeLink(link, L"Site", 0, CRect(10, 10, 200, 40));
    link.setUrl(L"https://sentavell.example/\"quoted\" \\");
    click(window);
    EXPECT_EQ(recorded(),
              (std::vector<std::string>{"--new", "https://sentavell.example/\"quoted\" \\"}));
    EXPECT_TRUE(link.visited());
}

TEST_F(LinkTest, AHandlerCommandTooLongForItsBufferIsRefusedNotCut) {
    registerHandler(recorder("viewer") + " --profile " + std::string(600, 'p'));
    CHyperLink link;
    HWND window = makeLink(link, L"https://sentavell.example/", 0, CRect(10, 10, 200, 40));
    ScriptedScreen screen;
    std::wstring shown;
    screen.then(readAndCloseMessageBox(shown));
    click(window);
    EXPECT_NE(shown.find(L"There is no application associated"), std::wstring::npos);
    EXPECT_FALSE(link.visited());
    EXPECT_FALSE(std::filesystem::exists(log()));
}

// --- messages and command lines --------------------------------------------------------------

TEST(HyperLinkText, FailuresAreExplainedByTheirCodes) {
    EXPECT_EQ(std::wstring(CHyperLink::errorText(26)),
              L"Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(std::wstring(CHyperLink::errorText(1)),
              L"Unable to open hyperlink:\n\nUnknown Error (1) occurred.");
    EXPECT_EQ(std::wstring(CHyperLink::errorText(11)),
              L"Unable to open hyperlink:\n\nThe .EXE file is invalid\n(non-Win32 .EXE or error "
              L"in .EXE image).");
}

TEST(HyperLinkText, TheRegisteredCommandIsCutAtItsPlaceholder) {
    const wchar_t* url = L"https://sentavell.example/";
    EXPECT_EQ(std::wstring(CHyperLink::handlerCommandLine(L"\"/opt/b\" --tab \"%1\"", url)),
              L"\"/opt/b\" --tab  \"https://sentavell.example/\"");
    EXPECT_EQ(std::wstring(CHyperLink::handlerCommandLine(L"browser %1 --x", url)),
              L"browser  \"https://sentavell.example/\"");
    EXPECT_EQ(std::wstring(CHyperLink::handlerCommandLine(L"browser -new", url)),
              L"browser -new \"https://sentavell.example/\"");
}

} // namespace
} // namespace arxtest
