#pragma once

#include "user/window.h"
#include "win/dialog_template.h"

#pragma GCC visibility push(default)

// Dialog styles.
#define DS_ABSALIGN 0x0001L
#define DS_SYSMODAL 0x0002L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_LOCALEDIT 0x0020L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_NOIDLEMSG 0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Dialog box command ids.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9
#define IDTRYAGAIN 10
#define IDCONTINUE 11
#define IDC_STATIC (-1)

// Dialog messages.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DM_REPOSITION (WM_USER + 2)
// DM_GETDEFID answers MAKELRESULT(id, DC_HASDEFID), or 0 when there is no default button.
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// The class of dialog windows.
#define WC_DIALOG MAKEINTRESOURCEW(0x8002)

// A dialog template in the platform's binary layout (DLGTEMPLATE or DLGTEMPLATEEX), as a
// module's RT_DIALOG resource holds it; DWORD-aligned.
#pragma pack(push, 2)
struct DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
};
#pragma pack(pop)
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;

// Modeless: the dialog exists and has had WM_INITDIALOG when this returns; null when the
// template is missing or damaged, or a control could not be created.
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param);
// Modal: disables the owner, runs the dialog's loop until EndDialog, and answers its result;
// -1 when the dialog could not be made or the screen ran out of input before it ended.
// Modal loops nest: a dialog opened from a dialog's handler runs a loop inside that handler.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param);
// The same from a template read into its parts (svLoadDialog), or one built in memory.
HWND svCreateDialogFromTemplate(HINSTANCE instance, const SvResDialog& dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
INT_PTR svDialogBoxFromTemplate(HINSTANCE instance, const SvResDialog& dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
// Ends the modal loop of the dialog after the current message; the window is hidden at once and
// destroyed by the loop. FALSE for a window that is no dialog.
BOOL EndDialog(HWND dialog, INT_PTR result);

// The dialog manager's own window procedure: what a dialog does with whatever its dialog
// procedure leaves alone. A subclassed dialog passes messages on to it.
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The keyboard of a dialog: Tab and Shift+Tab between WS_TABSTOP controls, arrows within a
// group, Enter to the default push button (IDOK when there is none), Esc as IDCANCEL, F1 as
// WM_HELP. Answers TRUE when the message was for the dialog and has been handled.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// Dialog units to pixels with the dialog's font.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The base units of the system font: width in the low word, height in the high word.
LONG GetDialogBaseUnits();

#pragma GCC visibility pop
