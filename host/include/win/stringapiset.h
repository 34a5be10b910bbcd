#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

// Every code page of this host is UTF-8: the modules' narrow texts are written in it.
#define CP_ACP 0
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

// Narrow to wide text. length -1 takes the text up to and with its terminator. With capacity 0
// answers the characters needed; otherwise the characters written, or 0 when they don't fit
// (nothing is written then) or the arguments are unusable.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR buffer,
                        int capacity);

#pragma GCC visibility pop
