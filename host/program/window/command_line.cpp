#include "command_line.h"

#include <cstdio>

#include "crt/format.h"

namespace window {

namespace {

// Lines kept for the history: far more than the window shows.
constexpr std::size_t kKeptLines = 500;

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

bool endsWith(const std::wstring& text, const wchar_t* suffix) {
    const std::size_t n = std::wcslen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

} // namespace

std::vector<PromptKeyword> promptKeywords(const std::wstring& prompt) {
    std::vector<PromptKeyword> words;
    const std::size_t open = prompt.rfind(L'[');
    if (open == std::wstring::npos)
        return words;
    const std::size_t close = prompt.find(L']', open);
    if (close == std::wstring::npos)
        return words;
    std::size_t start = open + 1;
    while (start <= close) {
        std::size_t end = prompt.find(L'/', start);
        if (end == std::wstring::npos || end > close)
            end = close;
        if (end > start)
            words.push_back({prompt.substr(start, end - start), start});
        start = end + 1;
    }
    return words;
}

PromptWants promptWants(const std::wstring& prompt) {
    if (prompt.empty() || startsWith(prompt, L"Command:"))
        return PromptWants::Command;
    if (endsWith(prompt, L"objects: "))
        return PromptWants::Selection;
    return PromptWants::Point;
}

void CommandLine::write(const wchar_t* text) {
    if (m_toStandardOutput) {
        std::fputs(svToUtf8(text).c_str(), stdout);
        std::fflush(stdout);
    }
    for (const wchar_t* c = text; *c != L'\0'; ++c) {
        if (*c == L'\n') {
            m_lines.emplace_back();
            if (m_lines.size() > kKeptLines)
                m_lines.pop_front();
        } else if (*c != L'\r') {
            m_lines.back() += *c;
        }
    }
}

std::vector<std::wstring> CommandLine::history(std::size_t count) const {
    const std::size_t complete = m_lines.size() - 1;
    const std::size_t first = complete > count ? complete - count : 0;
    return {m_lines.begin() + static_cast<std::ptrdiff_t>(first),
            m_lines.begin() + static_cast<std::ptrdiff_t>(complete)};
}

void CommandLine::erase() {
    if (!m_typed.empty())
        m_typed.pop_back();
}

std::wstring CommandLine::take() {
    std::wstring line;
    line.swap(m_typed);
    echo(line);
    return line;
}

void CommandLine::echo(const std::wstring& answer) {
    write((answer + L"\n").c_str());
}

} // namespace window
