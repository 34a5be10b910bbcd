#include <filesystem>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "shell_fixture.h"

namespace {

using WinExecTest = ShellTest;

TEST_F(WinExecTest, AQuotedProgramPathRunsWithExactlyItsArguments) {
    const std::string program = writeRecorder(folder() + "/Program Files/print args");
    struct Case {
        std::string arguments;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"one  \"two words\"\tthree", {"one", "two words", "three"}},
        {R"(a\\b c\"d "e\"f")", {R"(a\\b)", R"(c"d)", R"(e"f)"}},
        {R"(x\\\\"y z" w\\\"v)", {R"(x\\y z)", R"(w\"v)"}},
        {R"("say ""hi""" "" end)", {R"(say "hi")", "", "end"}},
        {R"(back\slash\ "tail\\")", {R"(back\slash\)", R"(tail\)"}},
    };
    for (const Case& c : cases) {
        const std::string line = "\"" + program + "\" " + c.arguments;
        ASSERT_GT(WinExec(line.c_str(), SW_SHOW), 31u) << line;
        EXPECT_EQ(recordedArguments(), c.expected) << line;
    }
}

TEST_F(WinExecTest, AnAddressReachesTheProgramAsOneArgumentAndIsNeverInterpreted) {
    writeRecorder(bin() + "/browser");
    const std::string witness = folder() + "/interpreted";
    const std::vector<std::string> addresses = {
        "http://example.com/;touch${IFS}" + witness,
        "http://example.com/$(touch${IFS}" + witness + ")|`touch${IFS}" + witness + "`&>x",
    };
    for (const std::string& address : addresses) {
        ASSERT_GT(WinExec(("browser " + address).c_str(), SW_SHOW), 31u);
        EXPECT_EQ(recordedArguments(), std::vector<std::string>{address});
    }
    const std::string quoted = "http://example.com/?q=\"a b\";$(touch " + witness + ")";
    const std::string line = R"(browser "http://example.com/?q=\"a b\";$(touch )" + witness + ")\"";
    ASSERT_GT(WinExec(line.c_str(), SW_SHOW), 31u);
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{quoted});
    EXPECT_FALSE(std::filesystem::exists(witness));
}

TEST_F(WinExecTest, AProgramThatCannotRunAnswersWhy) {
    EXPECT_EQ(WinExec("", SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec(nullptr, SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec("no-such-program x", SW_SHOW), static_cast<UINT>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec(("\"" + folder() + "/missing\" x").c_str(), SW_SHOW),
              static_cast<UINT>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(WinExec(("\"" + folder() + "/missing/program\" x").c_str(), SW_SHOW),
              static_cast<UINT>(ERROR_PATH_NOT_FOUND));
    writeFile(bin() + "/plain", "text");
    EXPECT_EQ(WinExec((bin() + "/plain").c_str(), SW_SHOW), static_cast<UINT>(ERROR_ACCESS_DENIED));
    writeFile(bin() + "/garbage", std::string("\x7f"
                                              "ELF\x01\x02garbage",
                                              12));
    chmod((bin() + "/garbage").c_str(), 0755);
    EXPECT_EQ(WinExec((bin() + "/garbage").c_str(), SW_SHOW), static_cast<UINT>(ERROR_BAD_FORMAT));
    // Backslashes separate folders in a program's path.
    writeRecorder(bin() + "/recorder");
    std::string backslashed = bin() + "/recorder";
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    ASSERT_GT(WinExec((backslashed + " ok").c_str(), SW_SHOW), 31u);
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{"ok"});
}

} // namespace
