#pragma once

#include <string>
#include <utility>
#include <vector>

#pragma GCC visibility push(default)

// Command aliases, as a drafting host reads them from its alias files: one "ALIAS, *COMMAND" a
// line, ";" starting a comment. Lines that start programs rather than commands are passed over.
// A file read later overrides the aliases of those before it. Names compare without case.

// Reads one file. False, with the reason, when it cannot be read; a line that is not understood
// is named in `problems` and the rest are still taken.
bool svLoadCommandAliases(const wchar_t* path, std::wstring& problems);
// The command an alias stands for, or empty.
std::wstring svCommandForAlias(const std::wstring& alias);
// Every alias with its command, in the order of their names.
std::vector<std::pair<std::wstring, std::wstring>> svCommandAliases();
void svClearCommandAliases();

#pragma GCC visibility pop
