#include "session.h"

#include <fstream>
#include <iostream>

#include "ap/docman.h"
#include "crt/format.h"
#include "ed/commands.h"
#include "ed/input.h"
#include "ed/lisp.h"
#include "form_screen.h"
#include "host_commands.h"
#include "rx/dynlinker.h"
#include "rx/print.h"

namespace {

// Runs commands until the input ends or QUIT; in a script the first failure ends the run.
int runCommands(SvInputSource& source, const std::wstring& scriptName, forms::FormScreen& screen) {
    SvInputSource* previous = svSetInputSource(&source);
    int status = 0;
    std::wstring command;
    while (svReadCommand(command)) {
        if (isQuitCommand(command))
            break;
        screen.commandStarted();
        const bool ok = command[0] == L'('
                            ? svEvaluateLisp((command + L" " + svRestOfLine()).c_str())
                            : svRunCommand(command.c_str());
        svEvaluateQueuedExpressions();
        if (!ok && !scriptName.empty()) {
            // The line read last: where a bad answer of the command stands.
            const int line = svInputLineNumber();
            acutPrintf(L"\n%s:%d: command %s failed; script stopped.\n", scriptName.c_str(), line,
                       command.c_str());
            status = 1;
            break;
        }
    }
    svSetInputSource(previous);
    return status;
}

int runScript(const std::wstring& path, forms::FormScreen& screen) {
    std::ifstream file(svToUtf8(path), std::ios::binary);
    if (!file) {
        acutPrintf(L"\nCannot open script %s.\n", path.c_str());
        return 1;
    }
    SvStreamInput source(file, false);
    return runCommands(source, path, screen);
}

} // namespace

int runSession(const HostOptions& options) {
    registerHostCommands();
    forms::FormScreen screen;
    SvScreen* previousScreen = svSetScreen(&screen);
    AcApDocument* first = nullptr;
    acDocManager->newDocument(first); // the host starts with an empty drawing, as a person expects
    int status = 0;
    for (const std::wstring& module : options.modules) {
        if (!acrxLoadModule(module.c_str(), true)) {
            status = 1;
            break;
        }
    }
    svEvaluateQueuedExpressions();
    if (status == 0) {
        if (options.script.empty()) {
            SvStreamInput terminal(std::cin, true);
            status = runCommands(terminal, L"", screen);
        } else {
            status = runScript(options.script, screen);
        }
    }
    acDocManager->closeAll();
    acrxDynamicLinker()->unloadAll(false);
    svSetScreen(previousScreen);
    acutPrintf(L"\n");
    return status;
}
