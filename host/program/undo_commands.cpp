// UNDO, U and REDO: whole commands of the current drawing's history.

#include "command_input.h"
#include "db/undo.h"
#include "rx/print.h"

namespace {

using namespace cli;

void undoSteps(int count) {
    int undone = 0;
    check(svDbUndo(database(), count, undone), L"Cannot undo");
    if (undone == 0)
        fail(L"Nothing to undo.");
    acutPrintf(L"\nUndone: %d command(s).", undone);
}

void undo() {
    undoSteps(askCount(L"\nNumber of commands to undo <1>: ", 1));
}

void undoOne() {
    undoSteps(1);
}

void redo() {
    int redone = 0;
    check(svDbRedo(database(), redone), L"Cannot redo");
    if (redone == 0)
        fail(L"Nothing to redo: REDO follows UNDO or U.");
    acutPrintf(L"\nRedone: %d command(s).", redone);
}

const HostCommand kCommands[] = {
    {L"UNDO", L"count", L"takes back the last commands, module commands included", &command<undo>},
    {L"U", L"", L"takes back the last command", &command<undoOne>},
    {L"REDO", L"", L"does again what the last UNDO or U took back", &command<redo>},
};

} // namespace

std::span<const HostCommand> undoCommands() {
    return kCommands;
}
