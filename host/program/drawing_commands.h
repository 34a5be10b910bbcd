#pragma once

// NEW, OPEN, SAVE, SAVEAS, CLOSE, DRAWINGS, SWITCH, GETVAR and SETVAR.
void registerDrawingCommands(const wchar_t* group);
