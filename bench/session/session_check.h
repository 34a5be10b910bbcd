#pragma once

// What the session must have left in the drawing it saved: every room's area written by the live
// update, every survey point labelled with its moved easting.
#include <string>

#include "room_drawing.h"

bool svCheckSavedSession(const std::wstring& path, const RoomDrawingSize& size,
                         std::string& problem);
