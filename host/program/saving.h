#pragma once

#include <string>

class AcApDocument;

// Whether a drawing holds work that its file does not: the commands' steps since it was opened,
// made or last saved.
bool drawingModified(AcApDocument* document);

// Saves under the drawing's own name; a drawing never saved asks for one first. False, with the
// reason on the command line, when nothing was saved.
bool saveDrawingAsked(AcApDocument* document);
// Saves under `path`, with the drawing extension added when the name has none.
bool saveDrawingTo(AcApDocument* document, std::wstring path);

enum class SaveAnswer {
    Go,       // saved, or the changes may go
    Stay,     // Cancel, or the save failed: the drawing stays open
    Refused,  // a script's answer is no answer to the question
    InputEnd, // the input ended at the question: nothing was saved
};
// "Save changes to NAME?" for a modified drawing; Go at once for one without changes.
SaveAnswer askToSaveChanges(AcApDocument* document);

// Says which open drawings keep unsaved changes that nobody will save.
void reportUnsavedDrawings();
