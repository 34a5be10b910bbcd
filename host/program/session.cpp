#include "session.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <vector>

#include "alias_files.h"
#include "ap/docman.h"
#include "crt/format.h"
#include "db/database.h"
#include "ed/commands.h"
#include "ed/input.h"
#include "ed/lisp.h"
#include "form_screen.h"
#include "host_commands.h"
#include "rx/dynlinker.h"
#include "rx/print.h"
#include "saving.h"
#include "terminal_input.h"

namespace {

// How a source of commands is read: a script file stops at its first failure; piped input goes
// on, as a person's session does, but its exit status remembers the failure.
enum class Reading { Script, Pipe, Terminal };

enum class Ending { Quit, Stay, Failed };

// Every drawing with changes is asked about, the current one first; Cancel keeps the session.
Ending confirmEnd() {
    std::vector<AcApDocument*> documents = acDocManager->documents();
    std::stable_partition(documents.begin(), documents.end(), [](AcApDocument* document) {
        return document == acDocManager->curDocument();
    });
    for (AcApDocument* document : documents) {
        switch (askToSaveChanges(document)) {
        case SaveAnswer::Go:
            break;
        case SaveAnswer::Stay:
            return Ending::Stay;
        case SaveAnswer::Refused:
            return Ending::Failed;
        case SaveAnswer::InputEnd:
            reportUnsavedDrawings();
            return Ending::Quit;
        }
    }
    return Ending::Quit;
}

bool runOne(const std::wstring& command, forms::FormScreen& screen) {
    screen.commandStarted();
    const bool ok = command[0] == L'(' ? svEvaluateLisp((command + L" " + svRestOfLine()).c_str())
                                       : svRunCommand(command.c_str());
    svEvaluateQueuedExpressions();
    return ok;
}

// Runs commands until the input ends or QUIT.
int runCommands(SvInputSource& source, const std::wstring& name, Reading reading,
                forms::FormScreen& screen) {
    SvInputSource* previous = svSetInputSource(&source);
    int status = 0;
    bool asked = false; // the drawings' changes were settled on the way out
    std::wstring command;
    for (;;) {
        const bool read = svReadCommand(command);
        bool ok = true;
        if (!read && reading != Reading::Terminal)
            break;
        if (!read || isQuitCommand(command)) {
            const Ending ending = confirmEnd();
            asked = ending == Ending::Quit;
            if (asked)
                break;
            ok = ending == Ending::Stay;
            if (!read)
                command = L"QUIT";
        } else {
            ok = runOne(command, screen);
        }
        if (ok || reading == Reading::Terminal)
            continue;
        status = 1;
        if (reading == Reading::Script) {
            // The line read last: where a bad answer of the command stands.
            acutPrintf(L"\n%s:%d: command %s failed; script stopped.\n", name.c_str(),
                       svInputLineNumber(), command.c_str());
            break;
        }
    }
    if (!asked)
        reportUnsavedDrawings();
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
    return runCommands(source, path, Reading::Script, screen);
}

// Through OPEN, as if typed; the empty drawing the host started with makes way for it.
bool openGivenDrawing(const std::wstring& path, AcApDocument* first) {
    SvScriptedInput answer({L"\"" + path + L"\""});
    svPushInputSource(&answer);
    svRunCommand(L"OPEN");
    svPopInputSource();
    if (acDocManager->curDocument() == first)
        return false;
    acDocManager->closeDocument(first);
    return true;
}

int runInput(forms::FormScreen& screen) {
    if (isatty(STDIN_FILENO) != 0) {
        TerminalInput terminal(STDIN_FILENO);
        return runCommands(terminal, L"", Reading::Terminal, screen);
    }
    SvStreamInput piped(std::cin, false);
    return runCommands(piped, L"standard input", Reading::Pipe, screen);
}

} // namespace

int runSession(const HostOptions& options) {
    registerHostCommands();
    loadAliasFiles();
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
        if (options.file.empty())
            status = runInput(screen);
        else if (!svDbIsDrawingFile(options.file.c_str()))
            status = runScript(options.file, screen);
        else
            status = openGivenDrawing(options.file, first) ? runInput(screen) : 1;
    }
    acDocManager->closeAll();
    acrxDynamicLinker()->unloadAll(false);
    svSetScreen(previousScreen);
    acutPrintf(L"\n");
    return status;
}
