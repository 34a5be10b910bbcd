// Commands of the host itself that modules may call through acedCommand.
#include "builtin_commands.h"
#include "ed/commands.h"
#include "ed/getinput.h"
#include "ed/menus.h"
#include "rx/print.h"

namespace {

constexpr const wchar_t* kGroup = L"ACAD_MAIN";

void menuLoad() {
    wchar_t path[4096];
    if (acedGetString(1, L"\nMenu file to load: ", path, 4096) != RTNORM)
        return;
    std::wstring file = path;
    if (file.size() >= 2 && file.front() == L'"' && file.back() == L'"')
        file = file.substr(1, file.size() - 2);
    std::wstring reason;
    if (!svLoadMenuFile(file.c_str(), reason)) {
        acutPrintf(L"\nMenu not loaded: %s.", reason.c_str());
        svSetCommandFailed();
    }
}

void menuUnload() {
    wchar_t group[SV_MAX_INPUT];
    if (acedGetString(0, L"\nMenu group to unload: ", group) != RTNORM)
        return;
    if (!svUnloadMenuGroup(group)) {
        acutPrintf(L"\nMenu group %s is not loaded.", group);
        svSetCommandFailed();
    }
}

} // namespace

void svRegisterBuiltinCommands() {
    acedRegCmds->addCommand(kGroup, L"MENULOAD", L"MENULOAD", ACRX_CMD_MODAL, &menuLoad);
    acedRegCmds->addCommand(kGroup, L"MENUUNLOAD", L"MENUUNLOAD", ACRX_CMD_MODAL, &menuUnload);
}
