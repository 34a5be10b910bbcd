#pragma once

#include "acad/adscodes.h"

#pragma GCC visibility push(default)

// System variables of the working drawing. acedGetVar fills a resbuf the caller owns (a string
// value is allocated and released with acutDelBuffer); RTERROR for an unknown name or when no
// drawing is open. acedSetVar takes RTSHORT, RTLONG, RTREAL or RTSTR; RTREJ for a value the
// variable does not take.
int acedGetVar(const wchar_t* name, resbuf* result);
int acedSetVar(const wchar_t* name, const resbuf* value);

#pragma GCC visibility pop
