#include "host_commands.h"

#include "drawing_commands.h"
#include "ed/adscodes.h"
#include "ed/commands.h"
#include "ed/getinput.h"
#include "ed/print.h"
#include "rx/dynlinker.h"
#include "win/crt.h"

namespace {

constexpr const wchar_t* kGroup = L"SVHOST_COMMANDS";

// A path may hold blanks: the rest of the line, or a double-quoted word.
bool askPath(const wchar_t* prompt, std::wstring& path) {
    wchar_t answer[4096];
    if (acedGetString(1, prompt, answer, 4096) != RTNORM)
        return false;
    path = answer;
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return !path.empty();
}

void arxLoad() {
    std::wstring path;
    if (!askPath(L"\nModule file to load: ", path) || !acrxLoadModule(path.c_str(), true))
        svSetCommandFailed();
}

void arxUnload() {
    std::wstring name;
    if (!askPath(L"\nModule to unload: ", name) || !acrxUnloadModule(name.c_str(), true))
        svSetCommandFailed();
}

void help() {
    acutPrintf(L"\nCommands:");
    for (const wchar_t* group : {L"ACAD_MAIN", kGroup}) {
        for (AcEdCommand* command : acedRegCmds->groupCommands(group))
            acutPrintf(L"\n  %s", command->globalName());
    }
    acutPrintf(L"\n  QUIT\nModules add their own commands.\n");
}

} // namespace

void registerHostCommands() {
    acedRegCmds->addCommand(kGroup, L"ARXLOAD", L"ARXLOAD", ACRX_CMD_MODAL, &arxLoad);
    acedRegCmds->addCommand(kGroup, L"ARXUNLOAD", L"ARXUNLOAD", ACRX_CMD_MODAL, &arxUnload);
    acedRegCmds->addCommand(kGroup, L"HELP", L"HELP", ACRX_CMD_MODAL, &help);
    registerDrawingCommands(kGroup);
}

bool isQuitCommand(const std::wstring& name) {
    const std::size_t start = name.find_first_not_of(L"_-.");
    const std::wstring bare = start == std::wstring::npos ? L"" : name.substr(start);
    return _wcsicmp(bare.c_str(), L"QUIT") == 0 || _wcsicmp(bare.c_str(), L"EXIT") == 0;
}
