#pragma once

#include <cstdint>

#include "db/database.h"

#pragma GCC visibility push(default)

// The commands' undo history of a drawing. Everything a command changes, objects and system
// variables, belongs to its command scope, which ends either kept, as one step of the history, or
// taken back as if never begun. The history lives as long as the database; it keeps the newest
// kSvDbUndoLimit steps.
constexpr int kSvDbUndoLimit = 50;

// Names the database of an open scope without holding on to it: a scope whose database is
// destroyed meanwhile (the command closed the drawing) simply ends with it.
struct SvDbCommandScope {
    std::uint64_t database = 0;
};

// Opens the scope of a command on `db`. Scopes do not nest: eInvalidOpenState while one is open.
Acad::ErrorStatus svDbBeginCommandScope(AcDbDatabase* db, SvDbCommandScope& scope);
// Ends the scope. Kept, what it changed becomes a step (when it changed anything, which also
// forgets what could be redone); not kept, every object it changed is restored and every object
// it created is taken back.
void svDbEndCommandScope(const SvDbCommandScope& scope, bool keep);

// Takes back up to `count` steps, newest first, and answers how many in `undone`; created objects
// are erased, so ids held elsewhere stay valid. Refused while a transaction is active, while the
// open scope has changed anything, or while an object of the steps is open (eWasOpenForWrite).
Acad::ErrorStatus svDbUndo(AcDbDatabase* db, int count, int& undone);
// Does again the steps of the last svDbUndo not yet redone; `redone` is their number.
Acad::ErrorStatus svDbRedo(AcDbDatabase* db, int& redone);
int svDbUndoSteps(const AcDbDatabase* db);
int svDbRedoSteps(const AcDbDatabase* db);
// Grows with every step kept, undone or redone: a drawing whose count is the one it had when it
// was saved may still differ from its file only through work done outside commands.
std::uint64_t svDbChangeCount(const AcDbDatabase* db);

#pragma GCC visibility pop
