#include <string>

#include "shell/registry.h"
#include "shell/shell.h"
#include "shell_fixture.h"

namespace {

using ClassesRoot = ShellTest;

// As a program finds the browser for web pages: the class of ".htm", then its open command.
std::wstring webPageCommand() {
    wchar_t text[520];
    LONG size = sizeof text;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, L".htm", text, &size) != ERROR_SUCCESS)
        return L"(no .htm)";
    const std::wstring command = std::wstring(text) + L"\\shell\\open\\command";
    size = sizeof text;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, command.c_str(), text, &size) != ERROR_SUCCESS)
        return L"(no command)";
    return text;
}

std::wstring wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST_F(ClassesRoot, WebPagesOpenWithTheBrowserOfTheEnvironment) {
    const std::string browser = writeRecorder(bin() + "/my browser");
    setVariable("BROWSER", "missing-browser:'" + browser + "'");
    EXPECT_EQ(webPageCommand(), L"\"" + wide(browser) + L"\" \"%1\"");

    setVariable("BROWSER", "'my browser' --new-tab %s");
    svRegistryForget();
    const std::wstring command = webPageCommand();
    EXPECT_EQ(command, L"\"" + wide(browser) + L"\" --new-tab \"%1\"");

    // The way a link control runs it: the command up to its placeholder, then the address.
    const std::string address = "https://example.com/a?b=1;c=$(id)";
    const std::string line =
        std::string(command.begin(), command.begin() + static_cast<long>(command.find(L"\"%1\""))) +
        address;
    ASSERT_GT(WinExec(line.c_str(), SW_SHOW), 31u);
    EXPECT_EQ(recordedArguments(), (std::vector<std::string>{"--new-tab", address}));
}

TEST_F(ClassesRoot, WebPagesOpenWithTheDesktopsDefaultBrowser) {
    const std::string browser = writeRecorder(bin() + "/viewer");
    writeFile(
        bin() + "/xdg-mime",
        "#!/bin/sh\n[ \"$*\" = 'query default x-scheme-handler/http' ] && echo viewer.desktop\n");
    chmod((bin() + "/xdg-mime").c_str(), 0755);
    writeFile(folder() + "/data/applications/viewer.desktop",
              "[Desktop Entry]\nName=Viewer\nExec = viewer --profile \"a b\" %U %i\n"
              "[Desktop Action private]\nExec=viewer --private %u\n");
    EXPECT_EQ(webPageCommand(), L"\"" + wide(browser) + L"\" --profile \"a b\" \"%1\"");
}

TEST_F(ClassesRoot, WithoutABrowserThereIsNoHandlerAndNoWritingToTheClasses) {
    setVariable("PATH", bin());
    EXPECT_EQ(webPageCommand(), L"(no .htm)");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, KEY_QUERY_VALUE, &key),
              ERROR_FILE_NOT_FOUND);

    setVariable("BROWSER", writeRecorder(bin() + "/browser"));
    svRegistryForget();
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, KEY_SET_VALUE, &key),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".new", 0, nullptr, 0, KEY_READ, nullptr, &key,
                              nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueW(HKEY_CLASSES_ROOT, L".htm", REG_SZ, L"other", 0), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm"), ERROR_ACCESS_DENIED);
}

} // namespace
