#include "host_commands.h"

#include <array>
#include <cwchar>
#include <span>

#include "acad/adscodes.h"
#include "command_input.h"
#include "crt/crt.h"
#include "drawing_commands.h"
#include "form_action.h"
#include "ed/commands.h"
#include "ed/getinput.h"
#include "rx/dynlinker.h"
#include "rx/print.h"

namespace {

constexpr const wchar_t* kGroup = L"SVHOST_COMMANDS";

void arxLoad() {
    std::wstring path;
    if (!askHostText(L"\nModule file to load: ", path) || !acrxLoadModule(path.c_str(), true))
        svSetCommandFailed();
}

void arxUnload() {
    std::wstring name;
    if (!askHostText(L"\nModule to unload: ", name) || !acrxUnloadModule(name.c_str(), true))
        svSetCommandFailed();
}

struct Summary {
    const wchar_t* name;
    const wchar_t* syntax;
    const wchar_t* summary;
};

// The commands registered elsewhere, as HELP describes them.
constexpr Summary kOtherSummaries[] = {
    {L"ARXLOAD", L"file", L"loads a module"},
    {L"ARXUNLOAD", L"name", L"unloads a module"},
    {L"HELP", L"", L"lists the host's commands"},
    {L"NEW", L"", L"opens a new drawing"},
    {L"OPEN", L"file", L"opens a drawing file"},
    {L"SAVE", L"", L"saves the drawing under its name"},
    {L"SAVEAS", L"file", L"saves the drawing under a new name"},
    {L"CLOSE", L"", L"closes the drawing"},
    {L"DRAWINGS", L"", L"lists the open drawings"},
    {L"SWITCH", L"number|name", L"makes another open drawing current"},
    {L"GETVAR", L"name", L"shows a system variable"},
    {L"SETVAR", L"name value", L"sets a system variable"},
    {L"MENULOAD", L"file", L"loads a menu file"},
    {L"MENUUNLOAD", L"group", L"unloads a menu group"},
};

// The command tables of the drafting, editing, inspection and undo commands, as HELP lists them.
std::array<std::span<const HostCommand>, 4> commandTables() {
    return {drawCommands(), editCommands(), inspectCommands(), undoCommands()};
}

void printSummary(const wchar_t* name, const wchar_t* syntax, const wchar_t* summary) {
    acutPrintf(L"\n  %-11s %s", name, summary);
    if (*syntax != L'\0')
        acutPrintf(L"\n  %-11s   %s %s", L"", name, syntax);
}

void help() {
    acutPrintf(L"\nCommands (answers follow on the same line or the next ones; \"\" or an empty "
               L"line is Enter;\n points are x,y or x,y,z, @dx,dy from the last point; objects "
               L"are picked by point or #handle,\n selections end with Enter; angles are in "
               L"degrees):");
    for (const wchar_t* group : {L"ACAD_MAIN", kGroup}) {
        for (AcEdCommand* command : acedRegCmds->groupCommands(group)) {
            const wchar_t* name = command->globalName();
            bool described = false;
            for (std::span<const HostCommand> table : commandTables()) {
                for (const HostCommand& entry : table) {
                    if (!described && std::wcscmp(entry.name, name) == 0) {
                        printSummary(name, entry.syntax, entry.summary);
                        described = true;
                    }
                }
            }
            for (const Summary& entry : kOtherSummaries) {
                if (!described && std::wcscmp(entry.name, name) == 0) {
                    printSummary(name, entry.syntax, entry.summary);
                    described = true;
                }
            }
            if (!described)
                acutPrintf(L"\n  %s", name);
        }
    }
    acutPrintf(L"\n  %-11s ends the session\nModules add their own commands.\n", L"QUIT");
    acutPrintf(L"\n%s\n", forms::formActionsHelp());
}

} // namespace

void registerHostCommands() {
    acedRegCmds->addCommand(kGroup, L"ARXLOAD", L"ARXLOAD", ACRX_CMD_MODAL, &arxLoad);
    acedRegCmds->addCommand(kGroup, L"ARXUNLOAD", L"ARXUNLOAD", ACRX_CMD_MODAL, &arxUnload);
    acedRegCmds->addCommand(kGroup, L"HELP", L"HELP", ACRX_CMD_MODAL, &help);
    registerDrawingCommands(kGroup);
    for (std::span<const HostCommand> table : commandTables()) {
        for (const HostCommand& command : table)
            acedRegCmds->addCommand(kGroup, command.name, command.name, ACRX_CMD_MODAL,
                                    command.function);
    }
}

bool askHostText(const wchar_t* prompt, std::wstring& text, bool wholeLine) {
    wchar_t answer[4096];
    if (acedGetString(wholeLine ? 1 : 0, prompt, answer, 4096) != RTNORM)
        return false;
    text = answer;
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return !text.empty();
}

bool isQuitCommand(const std::wstring& name) {
    const std::wstring bare = svBareCommandName(name.c_str());
    return _wcsicmp(bare.c_str(), L"QUIT") == 0 || _wcsicmp(bare.c_str(), L"EXIT") == 0;
}
