#pragma once

// A floor plan as a user's large drawing has it: rooms on a grid, each an outline with a name
// block whose AREA attribute is linked to the outline's area, and survey points that label
// themselves with their easting.
#include <string>

struct RoomDrawingSize {
    int rooms = 0;
    int surveyPoints = 0;
};

// Builds the drawing with the database module loaded and saves it to path; false with a message
// on standard error when the drawing cannot be made or saved.
bool svWriteRoomDrawing(const RoomDrawingSize& size, const std::wstring& path);
