#include <string>
#include <utility>

#include "db/undo.h"
#include "ed/aliases.h"
#include "ed/commands.h"
#include "ed/editor.h"
#include "ed/lisp.h"
#include "getinput_state.h"
#include "lisp_functions.h"
#include "rx/print.h"

namespace {

bool g_commandFailed = false;
int g_depth = 0; // commands run from inside commands

} // namespace

std::wstring svBareCommandName(const wchar_t* name) {
    std::wstring bare = name != nullptr ? name : L"";
    const std::size_t start = bare.find_first_not_of(L"_-.");
    return start == std::wstring::npos ? std::wstring() : bare.substr(start);
}

void svSetCommandFailed() {
    g_commandFailed = true;
}

namespace {

// A command by name, else by the alias of one; aliases of aliases are not followed.
AcEdCommand* findCommand(const std::wstring& bare) {
    if (bare.empty())
        return nullptr;
    AcEdCommand* command = acedRegCmds->lookupCmd(bare.c_str());
    const std::wstring aliased = command == nullptr ? svCommandForAlias(bare) : L"";
    if (aliased.empty())
        return command;
    command = acedRegCmds->lookupCmd(aliased.c_str());
    if (command == nullptr)
        acutPrintf(L"\n%s is an alias of %s, which is not a command now.", bare.c_str(),
                   aliased.c_str());
    return command;
}

bool runCommand(const wchar_t* name) {
    const std::wstring bare = svBareCommandName(name);
    AcEdCommand* command = findCommand(bare);
    if (command == nullptr && !bare.empty() && svHasExternalFunction(L"C:" + bare))
        return svEvaluateLisp((L"(C:" + bare + L")").c_str());
    if (command == nullptr) {
        acedEditor->notify([&bare](AcEditorReactor* r) { r->unknownCommand(bare.c_str()); });
        acutPrintf(L"\nUnknown command \"%s\".  Type HELP for the list of commands.",
                   name != nullptr ? name : L"");
        return false;
    }
    // The command may be removed while it runs (a module unloading itself): keep its name.
    const std::wstring global = command->globalName();
    AcRxFunctionPtr function = command->functionAddr();
    acedEditor->notify([&global](AcEditorReactor* r) { r->commandWillStart(global.c_str()); });

    const bool outerFailed = std::exchange(g_commandFailed, false);
    svTakeCancelSeen(); // a cancel before this command is not this command's
    ++g_depth;
    try {
        function();
    } catch (...) {
        acutPrintf(L"\nCommand %s stopped by an unexpected error.", global.c_str());
        g_commandFailed = true;
    }
    --g_depth;
    const bool cancelled = svTakeCancelSeen();
    const bool failed = std::exchange(g_commandFailed, outerFailed);

    if (cancelled)
        acedEditor->notify([&global](AcEditorReactor* r) { r->commandCancelled(global.c_str()); });
    else if (failed)
        acedEditor->notify([&global](AcEditorReactor* r) { r->commandFailed(global.c_str()); });
    else
        acedEditor->notify([&global](AcEditorReactor* r) { r->commandEnded(global.c_str()); });
    if (g_depth == 0)
        acedEditor->notify([](AcEditorReactor* r) { r->commandLineReady(nullptr); });
    return !cancelled && !failed;
}

} // namespace

// The scope takes in what the command sets off before the prompt returns, what reactors do at
// commandLineReady included, so that an undo takes back work done on the command's behalf. A
// command run by a command joins the scope of the one running it.
bool svRunCommand(const wchar_t* name) {
    SvDbCommandScope scope;
    const bool scoped =
        svDbBeginCommandScope(acdbHostApplicationServices()->workingDatabase(), scope) == Acad::eOk;
    const bool ok = runCommand(name);
    if (scoped)
        svDbEndCommandScope(scope, ok);
    return ok;
}
