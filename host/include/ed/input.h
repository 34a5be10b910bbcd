#pragma once

#include <istream>
#include <string>
#include <vector>

#pragma GCC visibility push(default)

// Where the command line's input comes from: a terminal, a script file, or a queue in tests.
// Every prompt of the host and of the modules reads through the one source installed.
class SvInputSource {
public:
    virtual ~SvInputSource();
    // The next line without its line end; false at the end of the input.
    virtual bool readLine(std::wstring& line) = 0;
    // A person is typing: prompts are shown.
    virtual bool interactive() const { return false; }
};

// Lines of a stream (UTF-8).
class SvStreamInput : public SvInputSource {
public:
    SvStreamInput(std::istream& in, bool interactive) : m_in(in), m_interactive(interactive) {}
    bool readLine(std::wstring& line) override;
    bool interactive() const override { return m_interactive; }

private:
    std::istream& m_in;
    bool m_interactive;
};

// Lines given in advance; interactive when they play a person typing.
class SvScriptedInput : public SvInputSource {
public:
    explicit SvScriptedInput(std::vector<std::wstring> lines, bool interactive = false)
        : m_lines(std::move(lines)), m_interactive(interactive) {}
    bool readLine(std::wstring& line) override;
    bool interactive() const override { return m_interactive; }

private:
    std::vector<std::wstring> m_lines;
    std::size_t m_next = 0;
    bool m_interactive;
};

// Installs a source (null: none, every read ends) and answers the one installed before. The
// words left on the current line are dropped.
SvInputSource* svSetInputSource(SvInputSource* source);

// Reads from a source for a while: the current source, and the words left on its current line,
// come back with the pop.
void svPushInputSource(SvInputSource* source);
void svPopInputSource();

// The word a script or a person writes for the cancel key.
inline constexpr const wchar_t* kSvCancelWord = L"^C";

enum class SvAnswer {
    Word, // up to the next blank, or a double-quoted text
    Line, // the rest of the line as it stands
};

// Reads the first word of the next non-blank line, showing the command prompt to a person; a
// cancel there is shown and passed over. False at the end of the input.
bool svReadCommand(std::wstring& command);
// Reads one answer: from what is left on the current line, else from the next line, which may be
// empty (the Enter key). False at the end of the input.
bool svReadAnswer(const wchar_t* prompt, std::wstring& answer, SvAnswer kind = SvAnswer::Word);
// What is left of the current line, without reading another.
std::wstring svRestOfLine();
// A person answers: a wrong answer is asked again. A script's wrong answer fails the prompt
// instead, so the script stops at the line that holds it.
bool svInputIsInteractive();
// Whether the last read of the current source found the end of its input (a cancel did not).
bool svInputEnded();
// The line number of the line last read from the current source.
int svInputLineNumber();

#pragma GCC visibility pop
