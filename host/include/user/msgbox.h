#pragma once

#include "user/types.h"

#pragma GCC visibility push(default)

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_HELP 0x00004000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

// A modal dialog with the text, the icon and the buttons of the type, run through the screen
// like any dialog. The buttons carry their command ids (IDOK, IDYES, IDNO ...); the default is the
// first unless MB_DEFBUTTON2..4 names another. Esc answers IDCANCEL where there is a Cancel
// button, and IDOK for a lone OK. Answers the id of the button chosen, 0 when the box could not
// be shown or the screen ran out of input.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// The control ids of a message box's parts, for those who look inside one.
#define SV_MSGBOX_TEXT_ID 0xFFFF
#define SV_MSGBOX_ICON_ID 0x0014

#pragma GCC visibility pop
