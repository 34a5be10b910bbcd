#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/bin_dir.h"

struct ProgramRun {
    int status = -1;
    std::string output; // standard output and standard error together
};

// Runs a shell command line.
inline ProgramRun runCommand(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// Runs a program of the build's output folder with a shell command line of arguments.
inline ProgramRun runProgram(const std::string& program, const std::string& arguments) {
    return runCommand("'" + binDir() + "/" + program + "' " + arguments);
}

// A script file in the temporary folder, removed with the object.
class TempScript {
public:
    TempScript(const std::string& name, const std::string& text)
        : m_path(testing::TempDir() + name) {
        std::ofstream(m_path) << text;
    }
    ~TempScript() { std::remove(m_path.c_str()); }
    TempScript(const TempScript&) = delete;
    TempScript& operator=(const TempScript&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};
