#pragma once

#include <string>

// Registers the host's own commands on the command stack, beside the modules' commands.
void registerHostCommands();
bool isQuitCommand(const std::wstring& name);
// A non-empty answer: a word, or with wholeLine the rest of the line (a path may hold blanks),
// without the double quotes around all of it. False when cancelled or empty.
bool askHostText(const wchar_t* prompt, std::wstring& text, bool wholeLine = true);
