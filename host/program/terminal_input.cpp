#include "terminal_input.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "crt/format.h"

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previous {};

void onInterrupt(int) {
    g_interrupted = 1;
}

} // namespace

// Without SA_RESTART a read waiting for the person returns at once when Ctrl-C is pressed.
TerminalInput::TerminalInput(int fd) : m_fd(fd) {
    struct sigaction action {};
    action.sa_handler = &onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &g_previous);
}

TerminalInput::~TerminalInput() {
    sigaction(SIGINT, &g_previous, nullptr);
}

bool TerminalInput::readLine(std::wstring& line) {
    for (;;) {
        if (g_interrupted != 0) {
            // What was typed before the key belongs to what it cancels.
            g_interrupted = 0;
            m_pending.clear();
            line = kSvCancelWord;
            return true;
        }
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string raw = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (!raw.empty() && raw.back() == '\r')
                raw.pop_back();
            line = svFromUtf8(raw);
            return true;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            m_pending.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            // Ctrl-D: a line typed without its end still counts.
            if (m_pending.empty())
                return false;
            line = svFromUtf8(m_pending);
            m_pending.clear();
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
}
