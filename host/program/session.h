#pragma once

#include <istream>
#include <string>

#include "options.h"

// The words a command reads: what is left on its own line first, then further lines, as a
// person answers prompts at the command line or a script answers them on following lines.
class CommandInput {
public:
    CommandInput(std::istream& in, bool echoPrompts);

    // The next command line's first word; false at the end of the input.
    bool nextCommand(std::wstring& command);
    // One answer to a prompt; false at the end of the input.
    bool answer(const wchar_t* prompt, std::wstring& word);
    int lineNumber() const { return m_lineNumber; }

private:
    bool nextWord(std::wstring& word);
    bool readLine();

    std::istream& m_in;
    bool m_echoPrompts;
    std::wstring m_line;
    std::size_t m_position = 0;
    int m_lineNumber = 0;
};

int runSession(const HostOptions& options);
