#pragma once

#include "gdi/syscolors.h"
#include "user/types.h"

#pragma GCC visibility push(default)

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
int GetSystemMetrics(int index);

// MessageBeep's sound is a message-box type (MB_ICONEXCLAMATION ...) or 0xFFFFFFFF. There is
// no speaker: the beeps are counted, and the last type kept, for those who show or test them.
BOOL MessageBeep(UINT type);
UINT svBeepCount();
UINT svLastBeep();

#pragma GCC visibility pop
