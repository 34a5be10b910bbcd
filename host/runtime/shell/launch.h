#pragma once

#include <string>
#include <vector>

#include "win/types.h"

// What WinExec and ShellExecuteW answer once a program started.
constexpr UINT kStarted = 33;

// Starts the program argv[0] names (a path, or a name on PATH) with argv, in folder when one is
// given, and answers kStarted or the platform's code of the failure: ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND (the program's folder is missing), ERROR_ACCESS_DENIED, ERROR_BAD_FORMAT,
// ERROR_NOT_ENOUGH_MEMORY, or 0 for any other.
UINT launch(std::vector<std::string> argv, const std::string& folder = {});

bool isFolder(const std::string& path);
