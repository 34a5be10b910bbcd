#include <dirent.h>

#include <fstream>
#include <string>

#include "crt/format.h"
#include "shell/shell.h"
#include "shell_fixture.h"

namespace {

using ShellExecute = ShellTest;

const std::string kAddress = "https://example.com/a b?q=\"x\";rm -rf $(id)&`id`";

std::intptr_t open(const std::string& address, const wchar_t* verb = L"open",
                   const wchar_t* directory = nullptr) {
    return reinterpret_cast<std::intptr_t>(
        ShellExecuteW(nullptr, verb, svFromUtf8(address).c_str(), nullptr, directory, SW_SHOW));
}

// Children of this process that ended and were not waited for.
int zombies() {
    int count = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + line.rfind(')') + 1, " %c %d", &state, &parent) == 2 &&
            state == 'Z' && parent == getpid())
            ++count;
    }
    closedir(proc);
    return count;
}

TEST_F(ShellExecute, TheOpenerOnPathGetsExactlyTheAddressAndIsReaped) {
    writeRecorder(bin() + "/test-opener");
    setVariable("BROWSER", "test-opener");
    EXPECT_GT(open(kAddress), 32);
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{kAddress});

    setVariable("BROWSER", "test-opener --new-window %s");
    EXPECT_GT(open(kAddress, nullptr), 32);
    EXPECT_EQ(recordedArguments(), (std::vector<std::string>{"--new-window", kAddress}));

    int left = zombies();
    for (int i = 0; i < 200 && left > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        left = zombies();
    }
    EXPECT_EQ(left, 0);
}

TEST_F(ShellExecute, TheDesktopsOpenerServesWhenADesktopIsRunning) {
    writeRecorder(bin() + "/xdg-open");
    EXPECT_EQ(open(kAddress), SE_ERR_NOASSOC);
    setVariable("DISPLAY", ":0");
    EXPECT_GT(open(kAddress), 32);
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{kAddress});
}

TEST_F(ShellExecute, FailuresAnswerThePlatformsCodes) {
    EXPECT_EQ(open(kAddress), SE_ERR_NOASSOC);
    setVariable("BROWSER", "no-such-browser");
    EXPECT_EQ(open(kAddress), SE_ERR_FNF);
    setVariable("BROWSER", writeRecorder(bin() + "/test-opener"));
    EXPECT_EQ(open(kAddress, L"print"), SE_ERR_NOASSOC);
    EXPECT_EQ(open(""), SE_ERR_FNF);
    const std::wstring missing = svFromUtf8(folder() + "/missing");
    EXPECT_EQ(open(kAddress, L"open", missing.c_str()), SE_ERR_PNF);
    writeFile(bin() + "/not-a-program", "text");
    setVariable("BROWSER", bin() + "/not-a-program");
    EXPECT_EQ(open(kAddress), SE_ERR_ACCESSDENIED);
}

} // namespace
