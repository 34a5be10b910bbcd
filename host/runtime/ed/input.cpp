#include "ed/input.h"

#include <cwctype>
#include <vector>

#include "crt/format.h"
#include "rx/print.h"

namespace {

struct LineReader {
    SvInputSource* source = nullptr;
    std::wstring line;
    std::size_t position = 0;
    bool lineOpen = false; // words of the current line may still be read
    int lineNumber = 0;
    bool ended = false; // the last read found the end of the input

    bool next() {
        ended = source == nullptr || !source->readLine(line);
        if (ended) {
            lineOpen = false;
            return false;
        }
        position = 0;
        lineOpen = true;
        ++lineNumber;
        return true;
    }

    void skipBlanks() {
        while (position < line.size() && std::iswspace(static_cast<wint_t>(line[position])))
            ++position;
    }

    bool atEnd() {
        skipBlanks();
        return position >= line.size();
    }

    std::wstring word() {
        skipBlanks();
        std::wstring out;
        if (position < line.size() && line[position] == L'"') {
            const std::size_t close = line.find(L'"', position + 1);
            const std::size_t end = close == std::wstring::npos ? line.size() : close;
            out = line.substr(position + 1, end - position - 1);
            position = close == std::wstring::npos ? end : end + 1;
            return out;
        }
        while (position < line.size() && !std::iswspace(static_cast<wint_t>(line[position])))
            out += line[position++];
        return out;
    }

    std::wstring rest() {
        skipBlanks();
        std::wstring out = line.substr(position);
        position = line.size();
        return out;
    }
};

LineReader g_reader;
std::vector<LineReader> g_suspended;

void showPrompt(const wchar_t* prompt) {
    if (g_reader.source != nullptr && g_reader.source->interactive() && prompt != nullptr)
        acutPrintf(L"%s", prompt);
}

} // namespace

SvInputSource::~SvInputSource() = default;

bool SvStreamInput::readLine(std::wstring& line) {
    std::string raw;
    if (!std::getline(m_in, raw))
        return false;
    if (!raw.empty() && raw.back() == '\r')
        raw.pop_back();
    line = svFromUtf8(raw);
    return true;
}

bool SvScriptedInput::readLine(std::wstring& line) {
    if (m_next >= m_lines.size())
        return false;
    line = m_lines[m_next++];
    return true;
}

SvInputSource* svSetInputSource(SvInputSource* source) {
    SvInputSource* previous = g_reader.source;
    g_reader = LineReader{};
    g_reader.source = source;
    return previous;
}

void svPushInputSource(SvInputSource* source) {
    g_suspended.push_back(std::move(g_reader));
    g_reader = LineReader{};
    g_reader.source = source;
}

void svPopInputSource() {
    if (g_suspended.empty())
        return;
    g_reader = std::move(g_suspended.back());
    g_suspended.pop_back();
}

bool svReadCommand(std::wstring& command) {
    for (;;) {
        showPrompt(L"\nCommand: ");
        if (!g_reader.next())
            return false;
        if (g_reader.atEnd())
            continue;
        command = g_reader.word();
        if (command != kSvCancelWord)
            return true;
        acutPrintf(L"*Cancel*");
        g_reader.rest();
    }
}

bool svReadAnswer(const wchar_t* prompt, std::wstring& answer, SvAnswer kind) {
    if (!g_reader.lineOpen || g_reader.atEnd()) {
        showPrompt(prompt);
        if (!g_reader.next())
            return false;
    }
    answer = kind == SvAnswer::Line ? g_reader.rest() : g_reader.word();
    return true;
}

std::wstring svRestOfLine() {
    return g_reader.lineOpen ? g_reader.rest() : std::wstring();
}

bool svInputIsInteractive() {
    return g_reader.source != nullptr && g_reader.source->interactive();
}

bool svInputEnded() {
    return g_reader.ended;
}

int svInputLineNumber() {
    return g_reader.lineNumber;
}
