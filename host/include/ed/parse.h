#pragma once

#include <string>

#include "ge/point3d.h"

#pragma GCC visibility push(default)

// How the command line reads numbers and points, for every prompt of the host and its commands.

// A whole finite decimal number.
bool svParseReal(const std::wstring& text, double& value);
// "x,y" or "x,y,z"; "@dx,dy[,dz]" from `base` when there is one (without, it is refused).
bool svParsePoint(const std::wstring& text, const AcGePoint3d* base, AcGePoint3d& point);

#pragma GCC visibility pop
