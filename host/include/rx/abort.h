#pragma once

#pragma GCC visibility push(default)

// Reports an inconsistency the host cannot survive (a class registered twice under one name, an
// unregistered class filed) and ends the process. printf-style, %s taking a wide string.
[[noreturn]] void acrx_abort(const wchar_t* format, ...);

// Called with the formatted message before the process ends; a test installs one that throws to
// observe the abort. Answers the handler that was installed before.
using AcRxAbortHandler = void (*)(const wchar_t* message);
AcRxAbortHandler acrxSetAbortHandler(AcRxAbortHandler handler);

#pragma GCC visibility pop
