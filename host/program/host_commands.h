#pragma once

#include <string>

// Registers the host's own commands on the command stack, beside the modules' commands.
void registerHostCommands();
bool isQuitCommand(const std::wstring& name);
