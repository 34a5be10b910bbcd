#pragma once

#include <string>

class CommandInput;

// The host's own commands. Each answers false after reporting why it failed.
struct HostCommand {
    const wchar_t* name;
    const wchar_t* summary;
    bool (*run)(CommandInput& input);
};

// Null when there is no such command; names compare without regard to case and may carry the
// "_" and "-" prefixes of the command line.
const HostCommand* findHostCommand(const std::wstring& name);
bool isQuitCommand(const std::wstring& name);
