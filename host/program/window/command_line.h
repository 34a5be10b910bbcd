#pragma once

#include <deque>
#include <string>
#include <vector>

#include "rx/print.h"

namespace window {

// A keyword offered in brackets by a prompt ("[Yes/No/Cancel]"): where it stands in the prompt.
struct PromptKeyword {
    std::wstring word;
    std::size_t start = 0;
};
std::vector<PromptKeyword> promptKeywords(const std::wstring& prompt);

// What the prompt asks for as far as the pointer is concerned.
enum class PromptWants {
    Command,   // the command prompt: the pointer has nothing to give
    Selection, // a selection set: picks, windows and crossings
    Point,     // a point or an object, or anything else a click can answer
};
PromptWants promptWants(const std::wstring& prompt);

// The command line of the window: what the session printed, the prompt it ends with and the
// line being typed. Everything printed goes on to standard output as well, unless told otherwise,
// so the session's transcript can be kept.
class CommandLine : public SvOutputSink {
public:
    explicit CommandLine(bool toStandardOutput = true) : m_toStandardOutput(toStandardOutput) {}
    void write(const wchar_t* text) override;

    // The text after the last line end: the prompt waiting, if any.
    const std::wstring& prompt() const { return m_lines.back(); }
    // Up to `count` complete lines before the prompt, oldest first.
    std::vector<std::wstring> history(std::size_t count) const;

    const std::wstring& typed() const { return m_typed; }
    void type(const std::wstring& text) { m_typed += text; }
    void erase();
    // The typed line, echoed after the prompt as a terminal echoes it; the typing starts anew.
    std::wstring take();
    // An answer given by the pointer: echoed as if typed.
    void echo(const std::wstring& answer);

private:
    std::deque<std::wstring> m_lines{std::wstring()};
    std::wstring m_typed;
    bool m_toStandardOutput;
};

} // namespace window
