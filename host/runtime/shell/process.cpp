#include "shell/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <thread>

extern char** environ;

namespace {

constexpr std::size_t kLargestOutput = 64 * 1024;

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::vector<char*> argumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& word : argv)
        pointers.push_back(const_cast<char*>(word.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

int waitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

// Standard input from /dev/null always; output to /dev/null unless a pipe takes it.
int spawn(const std::vector<std::string>& argv, const std::string& folder, int outputFd,
          pid_t& child) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const std::vector<char*> pointers = argumentPointers(argv);
    const int error =
        posix_spawn(&child, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

} // namespace

std::string findProgram(const std::string& name) {
    if (name.empty())
        return "";
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), F_OK) == 0 ? name : "";
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "";
    for (std::size_t start = 0;;) {
        const std::size_t colon = folders.find(':', start);
        const std::string folder = folders.substr(start, colon - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (isExecutableFile(candidate))
            return candidate;
        if (colon == std::string::npos)
            return "";
        start = colon + 1;
    }
}

int startProgram(const std::vector<std::string>& argv, const std::string& folder) {
    if (argv.empty())
        return ENOENT;
    pid_t child = 0;
    if (const int error = spawn(argv, folder, -1, child); error != 0)
        return error;
    try {
        std::thread([child] { waitFor(child); }).detach();
    } catch (const std::system_error&) {
        // Better a zombie than a caller blocked on a browser.
    }
    return 0;
}

bool programOutput(const std::vector<std::string>& argv, std::string& output) {
    int fds[2];
    if (argv.empty() || pipe2(fds, O_CLOEXEC) != 0)
        return false;
    pid_t child = 0;
    const int error = spawn(argv, {}, fds[1], child);
    close(fds[1]);
    output.clear();
    char buffer[4096];
    for (ssize_t n = 0; error == 0 && (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || output.size() > kLargestOutput)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (error != 0)
        return false;
    const int status = waitFor(child);
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
