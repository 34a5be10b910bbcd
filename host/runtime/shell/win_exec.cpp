#include <algorithm>

#include "shell/command_line.h"
#include "shell/launch.h"
#include "shell/shell.h"

UINT WinExec(LPCSTR commandLine, UINT) {
    if (commandLine == nullptr)
        return ERROR_FILE_NOT_FOUND;
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty())
        return ERROR_FILE_NOT_FOUND;
    std::replace(words[0].begin(), words[0].end(), '\\', '/');
    return launch(std::move(words));
}
