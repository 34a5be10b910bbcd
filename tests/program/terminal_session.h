#pragma once

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/bin_dir.h"

// svhost on a pseudo-terminal, typed at as a person types: what it writes, the echo of the typing
// included, is read back as it comes.
class TerminalSession {
public:
    explicit TerminalSession(std::vector<std::string> arguments = {},
                             const std::string& folder = "") {
        const std::string program = binDir() + "/svhost";
        m_child = forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_child == 0) {
            if (!folder.empty() && chdir(folder.c_str()) != 0)
                _exit(126);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }
    ~TerminalSession() {
        if (m_child > 0 && m_status < 0) {
            kill(m_child, SIGKILL);
            waitpid(m_child, nullptr, 0);
        }
        if (m_master >= 0)
            close(m_master);
    }
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    bool started() const { return m_child > 0; }
    void type(const std::string& keys) {
        if (write(m_master, keys.data(), keys.size()) < 0)
            m_output += "[write failed]";
    }
    // Waits until `text` shows after what earlier waits found; false after a few seconds.
    bool waitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (m_output.find(text, m_seen) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readSome())
                return false;
        }
        m_seen = m_output.find(text, m_seen) + text.size();
        return true;
    }
    // The exit status once the program has ended by itself, -1 when it does not.
    int exitStatus() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (m_status < 0 && std::chrono::steady_clock::now() < deadline) {
            int raw = 0;
            if (waitpid(m_child, &raw, WNOHANG) == m_child)
                m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128;
            else
                readSome();
        }
        return m_status;
    }
    const std::string& output() const { return m_output; }

private:
    bool readSome() {
        pollfd ready{m_master, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0)
            return true;
        char buffer[4096];
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        m_output.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    int m_master = -1;
    pid_t m_child = -1;
    int m_status = -1;
    std::string m_output;
    std::size_t m_seen = 0;
};
