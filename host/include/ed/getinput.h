#pragma once

#include "acad/adscodes.h"

#pragma GCC visibility push(default)

// Sets the flags (RSG_...) and keywords for the next input call alone.
int acedInitGet(int flags, const wchar_t* keywordList);

// Each reads one answer through the installed input source. Results: RTNORM; RTKWORD when a
// keyword of acedInitGet was answered (acedGetInput then gives it); RTNONE for an empty answer
// unless RSG_NONULL asks again; RTCAN when the user cancels or the input ends.
int acedGetKword(const wchar_t* prompt, wchar_t* result);              // RTNORM with the keyword
int acedGetString(int crOnly, const wchar_t* prompt, wchar_t* result); // SV_MAX_INPUT chars
int acedGetString(int crOnly, const wchar_t* prompt, wchar_t* result, std::size_t size);
int acedGetInt(const wchar_t* prompt, int* result);
int acedGetReal(const wchar_t* prompt, ads_real* result);
// "x,y" or "x,y,z"; relative "@dx,dy" from the base point when one is given.
int acedGetPoint(const ads_point basePoint, const wchar_t* prompt, ads_point result);

// The keyword (or macro result) of the last input call: at most SV_MAX_INPUT characters,
// terminator included, are written. RTERROR when there is none.
int acedGetInput(wchar_t* result);

#pragma GCC visibility pop
