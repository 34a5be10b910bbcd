#pragma once

#include <string>

#include "ge/point3d.h"

#pragma GCC visibility push(default)

// How the command line reads numbers and points, for every prompt of the host and its commands.

// A whole finite decimal number.
bool svParseReal(const std::wstring& text, double& value);
// "x,y" or "x,y,z", or "dist<angle" (degrees counter-clockwise from the x axis); with a leading
// "@" the same from `base` when there is one (without, it is refused).
bool svParsePoint(const std::wstring& text, const AcGePoint3d* base, AcGePoint3d& point);

#pragma GCC visibility pop
