#pragma once

#pragma GCC visibility push(default)

// A real as text in a linear unit mode (1-5) and precision (0-8); -1 for either takes the working
// drawing's LUNITS or LUPREC (decimal, 4 places without a drawing). Writes at most
// kSvRToSMaxChars characters with the terminator: a value too long for that in its mode is written
// in scientific mode instead. Answers RTNORM, or RTERROR for a null buffer.
inline constexpr int kSvRToSMaxChars = 64;
int acdbRToS(double value, int unit, int precision, wchar_t* result);

#pragma GCC visibility pop
