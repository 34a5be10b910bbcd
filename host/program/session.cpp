#include "session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
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
#include "window_screen.h"

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

// Runs commands until the input ends or QUIT; `quit` tells which. Unless more input follows,
// the drawings' changes are settled on the way out.
int runCommands(SvInputSource& source, const std::wstring& name, Reading reading,
                forms::FormScreen& screen, bool moreFollows, bool& quit) {
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
    quit = asked;
    if (!asked && !moreFollows)
        reportUnsavedDrawings();
    svSetInputSource(previous);
    return status;
}

// In the window a script runs as the window shows it, and the person goes on where it ends.
int runScript(const std::wstring& path, forms::FormScreen& screen,
              window::WindowScreen* windowScreen, bool& quit) {
    std::ifstream file(svToUtf8(path), std::ios::binary);
    if (!file) {
        acutPrintf(L"\nCannot open script %s.\n", path.c_str());
        return 1;
    }
    SvStreamInput source(file, false);
    if (windowScreen == nullptr)
        return runCommands(source, path, Reading::Script, screen, false, quit);
    const std::unique_ptr<SvInputSource> followed = windowScreen->follow(source);
    return runCommands(*followed, path, Reading::Script, screen, true, quit);
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

int runInput(forms::FormScreen& screen, window::WindowScreen* windowScreen) {
    bool quit = false;
    if (windowScreen != nullptr)
        return runCommands(*windowScreen, L"", Reading::Terminal, screen, false, quit);
    if (isatty(STDIN_FILENO) != 0) {
        TerminalInput terminal(STDIN_FILENO);
        return runCommands(terminal, L"", Reading::Terminal, screen, false, quit);
    }
    SvStreamInput piped(std::cin, false);
    return runCommands(piped, L"standard input", Reading::Pipe, screen, false, quit);
}

int runFile(const HostOptions& options, forms::FormScreen& screen,
            window::WindowScreen* windowScreen, AcApDocument* first) {
    if (svDbIsDrawingFile(options.file.c_str()))
        return openGivenDrawing(options.file, first) ? runInput(screen, windowScreen) : 1;
    bool quit = false;
    const int status = runScript(options.file, screen, windowScreen, quit);
    if (windowScreen == nullptr || quit || windowScreen->closed())
        return status;
    const int rest = runInput(screen, windowScreen);
    return status != 0 ? status : rest;
}

} // namespace

int runSession(const HostOptions& options) {
    std::unique_ptr<window::WindowScreen> windowScreen;
    if (options.gui) {
        std::string error;
        windowScreen = window::WindowScreen::open(error);
        if (windowScreen == nullptr) {
            std::fprintf(stderr, "svhost: --gui needs a display: %s\n", error.c_str());
            return 2;
        }
    }
    registerHostCommands();
    loadAliasFiles();
    forms::FormScreen formScreen;
    forms::FormScreen& forms = windowScreen ? windowScreen->formScreen() : formScreen;
    SvScreen* previousScreen =
        svSetScreen(windowScreen ? static_cast<SvScreen*>(windowScreen.get()) : &formScreen);
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
    if (status == 0)
        status = options.file.empty() ? runInput(forms, windowScreen.get())
                                      : runFile(options, forms, windowScreen.get(), first);
    acDocManager->closeAll();
    acrxDynamicLinker()->unloadAll(false);
    svSetScreen(previousScreen);
    acutPrintf(L"\n");
    return status;
}
