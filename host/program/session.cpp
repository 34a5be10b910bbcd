#include "session.h"

#include <cwctype>
#include <fstream>
#include <iostream>

#include "ed/print.h"
#include "host_commands.h"
#include "rx/dynlinker.h"
#include "win/format.h"

CommandInput::CommandInput(std::istream& in, bool echoPrompts)
    : m_in(in), m_echoPrompts(echoPrompts) {}

bool CommandInput::readLine() {
    std::string raw;
    if (!std::getline(m_in, raw))
        return false;
    if (!raw.empty() && raw.back() == '\r')
        raw.pop_back();
    m_line = svFromUtf8(raw);
    m_position = 0;
    ++m_lineNumber;
    return true;
}

// A word is a run without blanks, or a double-quoted text that may hold blanks.
bool CommandInput::nextWord(std::wstring& word) {
    while (m_position < m_line.size() && std::iswspace(static_cast<wint_t>(m_line[m_position])))
        ++m_position;
    if (m_position >= m_line.size())
        return false;
    word.clear();
    if (m_line[m_position] == L'"') {
        const std::size_t close = m_line.find(L'"', m_position + 1);
        const std::size_t end = close == std::wstring::npos ? m_line.size() : close;
        word = m_line.substr(m_position + 1, end - m_position - 1);
        m_position = close == std::wstring::npos ? end : end + 1;
        return true;
    }
    while (m_position < m_line.size() && !std::iswspace(static_cast<wint_t>(m_line[m_position])))
        word += m_line[m_position++];
    return true;
}

bool CommandInput::nextCommand(std::wstring& command) {
    for (;;) {
        if (m_echoPrompts)
            acutPrintf(L"\nCommand: ");
        if (!readLine())
            return false;
        if (nextWord(command))
            return true;
    }
}

bool CommandInput::answer(const wchar_t* prompt, std::wstring& word) {
    if (nextWord(word))
        return true;
    if (m_echoPrompts)
        acutPrintf(L"%s", prompt);
    while (readLine()) {
        if (nextWord(word))
            return true;
    }
    return false;
}

namespace {

// Runs commands until the input ends or QUIT; in a script the first failure ends the run.
int runCommands(CommandInput& input, const std::wstring& scriptName) {
    const bool script = !scriptName.empty();
    std::wstring command;
    while (input.nextCommand(command)) {
        if (isQuitCommand(command))
            return 0;
        const HostCommand* hostCommand = findHostCommand(command);
        const bool ok = hostCommand != nullptr && hostCommand->run(input);
        if (hostCommand == nullptr)
            acutPrintf(L"\nUnknown command \"%s\".  Type HELP for the list of commands.",
                       command.c_str());
        if (!ok && script) {
            acutPrintf(L"\n%s:%d: command %s failed; script stopped.\n", scriptName.c_str(),
                       input.lineNumber(), command.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace

int runSession(const HostOptions& options) {
    int status = 0;
    for (const std::wstring& module : options.modules) {
        if (!acrxLoadModule(module.c_str(), true)) {
            status = 1;
            break;
        }
    }
    if (status == 0) {
        if (options.script.empty()) {
            CommandInput input(std::cin, true);
            status = runCommands(input, L"");
        } else {
            std::ifstream file(svToUtf8(options.script), std::ios::binary);
            if (!file) {
                acutPrintf(L"\nCannot open script %s.\n", options.script.c_str());
                status = 1;
            } else {
                CommandInput input(file, false);
                status = runCommands(input, options.script);
            }
        }
    }
    acrxDynamicLinker()->unloadAll(false);
    acutPrintf(L"\n");
    return status;
}
