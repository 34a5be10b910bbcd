#pragma once

#include <string>

#include "ed/input.h"

// A person at a terminal: lines as the terminal hands them over, Ctrl-C as the cancel word (the
// session lives on), and after Ctrl-D the terminal can still be read, for the questions asked on
// the way out.
class TerminalInput : public SvInputSource {
public:
    explicit TerminalInput(int fd);
    ~TerminalInput() override;
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    bool readLine(std::wstring& line) override;
    bool interactive() const override { return true; }

private:
    int m_fd;
    std::string m_pending; // read past the last line end
};
