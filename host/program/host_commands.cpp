#include "host_commands.h"

#include <array>
#include <cwchar>
#include <span>

#include "acad/adscodes.h"
#include "command_input.h"
#include "crt/crt.h"
#include "drawing_commands.h"
#include "ed/aliases.h"
#include "ed/commands.h"
#include "ed/getinput.h"
#include "form_action.h"
#include "rx/dynlinker.h"
#include "rx/print.h"

namespace {

constexpr const wchar_t* kGroup = L"SVHOST_COMMANDS";

// Loading a module twice is no failure, but the second load does nothing and says so.
void arxLoad() {
    std::wstring path;
    if (!askHostText(L"\nModule file to load: ", path)) {
        svSetCommandFailed();
        return;
    }
    if (acrxDynamicLinker()->isModuleLoaded(path.c_str())) {
        acutPrintf(L"\n%s is already loaded.", path.c_str());
        return;
    }
    if (!acrxLoadModule(path.c_str(), true))
        svSetCommandFailed();
}

// A module by its file name, also without the extension it was loaded with.
std::wstring loadedModuleName(const std::wstring& name) {
    for (const wchar_t* extension : {L"", L".arx", L".dbx", L".dll"}) {
        const std::wstring candidate = name + extension;
        if (acrxDynamicLinker()->isModuleLoaded(candidate.c_str()))
            return candidate;
    }
    return name;
}

void arxUnload() {
    std::wstring name;
    if (!askHostText(L"\nModule to unload: ", name) ||
        !acrxUnloadModule(loadedModuleName(name).c_str(), true))
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

bool isHostGroup(const std::wstring& group) {
    return group == L"ACAD_MAIN" || group == kGroup;
}

void describe(const wchar_t* name) {
    for (std::span<const HostCommand> table : commandTables()) {
        for (const HostCommand& entry : table) {
            if (std::wcscmp(entry.name, name) == 0)
                return printSummary(name, entry.syntax, entry.summary);
        }
    }
    for (const Summary& entry : kOtherSummaries) {
        if (std::wcscmp(entry.name, name) == 0)
            return printSummary(name, entry.syntax, entry.summary);
    }
    acutPrintf(L"\n  %s", name);
}

void listModuleCommands() {
    bool any = false;
    for (const std::wstring& group : acedRegCmds->groupNames()) {
        if (isHostGroup(group))
            continue;
        for (AcEdCommand* command : acedRegCmds->groupCommands(group.c_str())) {
            acutPrintf(L"%s\n  %-18s group %s", any ? L"" : L"\nCommands of the loaded modules:",
                       command->globalName(), group.c_str());
            any = true;
        }
    }
    if (!any)
        acutPrintf(L"\nModules add their own commands once loaded (ARXLOAD).");
}

// Several to a line, as "L LINE".
void listAliases() {
    const auto aliases = svCommandAliases();
    if (aliases.empty())
        return;
    acutPrintf(L"\nAliases (svhost.pgp beside svhost, then in the configuration folder):");
    int column = 0;
    for (const auto& [alias, command] : aliases) {
        acutPrintf(L"%s%-5s %-12s", column == 0 ? L"\n  " : L"", alias.c_str(), command.c_str());
        column = (column + 1) % 4;
    }
}

void help() {
    acutPrintf(L"\nCommands (answers follow on the same line or the next ones; \"\" or an empty "
               L"line is Enter):");
    for (const wchar_t* group : {L"ACAD_MAIN", kGroup}) {
        for (AcEdCommand* command : acedRegCmds->groupCommands(group))
            describe(command->globalName());
    }
    acutPrintf(L"\n  %-11s ends the session, asking to save changed drawings", L"QUIT");
    listModuleCommands();
    listAliases();
    acutPrintf(
        L"\n\nPoints: x,y or x,y,z; dist<angle; @dx,dy or @dist<angle from the last point. "
        L"Angles are in\n degrees, counter-clockwise from the x axis."
        L"\nObjects are picked by a point or by #handle. At \"Select objects\": points and "
        L"handles, W\n (window) and C (crossing) with two corners, ALL, L (the last object), "
        L"P (the previous\n selection), R to remove from then on and A to add again; Enter "
        L"ends the selection."
        L"\nOptions are answered by their capitals (d or Di for Diameter) or their whole name."
        L"\nCtrl-C, or ^C in a script, cancels the command; a person is asked a bad answer "
        L"again,\n a script stops at it.\n");
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
